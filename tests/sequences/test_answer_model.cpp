// Randomized check that receive sequences keep answering the same send sequences whatever the
// list operations do, compared against a plain model that names the send sequence directly.
#include "SequenceListsFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

using namespace corvane;

namespace {

struct Model {
    std::vector<std::string> send;
    // The name of the send sequence each receive sequence answers with, if any.
    std::vector<std::optional<std::string>> answers;
};

class AnswerModelTest : public SequenceListsTest {
protected:
    void expectMatchesModel(const Model& model, int step) {
        ASSERT_EQ(sendNames(), model.send) << "step " << step;
        ASSERT_EQ(lists.receiveList().upperIndex(), static_cast<int>(model.answers.size()))
            << "step " << step;
        for (int i = 0; i < lists.receiveList().upperIndex(); ++i) {
            const ReceiveSequenceRecord& receive = lists.receiveList()[i];
            const auto& expected = model.answers[static_cast<std::size_t>(i)];
            if (!expected) {
                ASSERT_EQ(receive.answerIndex, kNoAnswer) << "step " << step << ", receive " << i;
            } else {
                ASSERT_GE(receive.answerIndex, 0) << "step " << step << ", receive " << i;
                ASSERT_LT(receive.answerIndex, lists.sendList().upperIndex());
                ASSERT_EQ(lists.sendList()[receive.answerIndex].name, *expected)
                    << "step " << step << ", receive " << i;
                ASSERT_EQ(receive.answerName, *expected) << "step " << step << ", receive " << i;
            }
        }
    }
};

} // namespace

TEST_F(AnswerModelTest, AnswersNameTheSameSendSequencesThroughRandomEdits) {
    std::mt19937 random(20261207);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Model model;
    int nextName = 0;

    for (int step = 0; step < 4000; ++step) {
        const int sendCount = static_cast<int>(model.send.size());
        const int receiveCount = static_cast<int>(model.answers.size());
        switch (pick(0, 6)) {
        case 0: // insert a send sequence, sometimes at a position past the end
            if (sendCount < 60) {
                const std::string name = "S" + std::to_string(nextName++);
                const int position = pick(-2, sendCount + 2);
                lists.InsertAction(sendRecord(name), position, false);
                model.send.insert(model.send.begin() + std::clamp(position, 0, sendCount), name);
            }
            break;
        case 1: // delete a send sequence
            if (sendCount > 0) {
                const int index = pick(0, sendCount - 1);
                const std::string name = model.send[static_cast<std::size_t>(index)];
                lists.deleteSendSequence(index, false);
                model.send.erase(model.send.begin() + index);
                for (auto& answer : model.answers) {
                    if (answer == name) {
                        answer.reset();
                    }
                }
            }
            break;
        case 2: // move a send sequence
            if (sendCount > 0) {
                const int from = pick(0, sendCount - 1);
                const int to = pick(0, sendCount + 1);
                lists.moveSendSequence(from, to);
                const std::string name = model.send[static_cast<std::size_t>(from)];
                model.send.erase(model.send.begin() + from);
                model.send.insert(model.send.begin() + std::clamp(to, 0, sendCount - 1), name);
            }
            break;
        case 3: // insert a receive sequence answering a random send sequence or nothing
            if (receiveCount < 60) {
                const int answer = sendCount > 0 ? pick(-1, sendCount - 1) : -1;
                const std::string answerName =
                    answer >= 0 ? model.send[static_cast<std::size_t>(answer)] : "";
                const int position = pick(0, receiveCount);
                lists.InsertEvent(receiveRecord("R", answer, answerName), position, false);
                model.answers.insert(model.answers.begin() + position,
                                     answer >= 0 ? std::optional<std::string>(answerName) : std::nullopt);
            }
            break;
        case 4: // delete a receive sequence
            if (receiveCount > 0) {
                const int index = pick(0, receiveCount - 1);
                lists.deleteReceiveSequence(index, false);
                model.answers.erase(model.answers.begin() + index);
            }
            break;
        case 5: // move a receive sequence
            if (receiveCount > 0) {
                const int from = pick(0, receiveCount - 1);
                const int to = pick(0, receiveCount - 1);
                lists.moveReceiveSequence(from, to);
                const auto answer = model.answers[static_cast<std::size_t>(from)];
                model.answers.erase(model.answers.begin() + from);
                model.answers.insert(model.answers.begin() + to, answer);
            }
            break;
        case 6: // rename a send sequence and refresh the first answer name through answer in use
            if (sendCount > 0) {
                const int index = pick(0, sendCount - 1);
                const std::string name = "S" + std::to_string(nextName++);
                const std::string old = model.send[static_cast<std::size_t>(index)];
                lists.sendList()[index].name = name;
                model.send[static_cast<std::size_t>(index)] = name;
                const bool used =
                    std::find(model.answers.begin(), model.answers.end(), old) != model.answers.end();
                ASSERT_EQ(lists.answerInUse(index), used) << "step " << step;
                // The first receive sequence answering with it has taken the new name; the
                // editor renames the others itself.
                bool first = true;
                for (int i = 0; i < lists.receiveList().upperIndex(); ++i) {
                    ReceiveSequenceRecord& receive = lists.receiveList()[i];
                    if (receive.answerIndex == index) {
                        if (first) {
                            ASSERT_EQ(receive.answerName, name) << "step " << step;
                            first = false;
                        }
                        receive.answerName = name;
                    }
                }
                for (auto& answer : model.answers) {
                    if (answer == old) {
                        answer = name;
                    }
                }
            }
            break;
        }
        expectMatchesModel(model, step);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}
