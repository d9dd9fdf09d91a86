#include "app/control/SequenceEditModel.h"

#include "platform/Clipboard.h"
#include "platform/Windows1252.h"
#include "sequences/CharacterRepresentation.h"
#include "sequences/ClSequence.h"

#include <algorithm>
#include <cctype>

namespace corvane {

namespace {

bool isRadixDigit(char digit, Representation representation) {
    switch (representation) {
    case Representation::HEX:
        return std::isxdigit(static_cast<unsigned char>(digit)) != 0;
    case Representation::Decimal:
        return digit >= '0' && digit <= '9';
    case Representation::Binary:
        return digit == '0' || digit == '1';
    default:
        return false;
    }
}

bool isLetter(char letter) {
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

// Two hex digits in angle brackets, for bytes that have no visible character of their own.
std::string bracketedHex(int code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string{'<', kDigits[(code >> 4) & 15], kDigits[code & 15], '>'};
}

} // namespace

SequenceEditModel::SequenceEditModel() {
    modShortCutManagement::textToTable(modShortCutManagement::kDefaultShortcutText, shortcuts_);
}

// ---------------------------------------------------------------- settings

void SequenceEditModel::setAllowedSpecialCharacters(std::string_view symbols) {
    receivePattern_ = !symbols.empty() && (symbols.front() == 'R' || symbols.front() == 'r');
    if (receivePattern_) {
        symbols.remove_prefix(1);
    }
    allowedSymbols_.clear();
    for (char symbol : symbols) {
        if (isSpecialCode(-static_cast<int>(static_cast<unsigned char>(symbol)))) {
            allowedSymbols_.push_back(symbol);
        }
    }
}

bool SequenceEditModel::symbolAllowed(char symbol) const {
    return allowedSymbols_.find(symbol) != std::string::npos;
}

void SequenceEditModel::setMaximumLength(int maximum) {
    maximumLength_ = std::clamp(maximum, 1, kLargestMaximumLength);
}

void SequenceEditModel::setRepresentation(Representation representation) {
    if (representationWidth(representation) == 0) {
        return;
    }
    completePartial();
    representation_ = representation;
}

void SequenceEditModel::setShortcutTable(std::string_view text) {
    modShortCutManagement::textToTable(text, shortcuts_);
}

// ---------------------------------------------------------------- contents

void SequenceEditModel::setCodes(const std::vector<CharCode>& codes) {
    codes_.clear();
    for (CharCode code : codes) {
        if (code == kEndMarker) {
            break;
        }
        if (isAllowedCode(code)) {
            codes_.push_back(code);
        }
    }
    partial_.clear();
    caret_ = anchor_ = length();
    undo_.clear();
    redo_.clear();
}

std::vector<CharCode> SequenceEditModel::sequenceWithEndMarker() const {
    std::vector<CharCode> result = codes_;
    result.push_back(kEndMarker);
    return result;
}

// ---------------------------------------------------------------- caret and selection

int SequenceEditModel::selectionStart() const {
    return std::min(caret_, anchor_);
}

int SequenceEditModel::selectionEnd() const {
    return std::max(caret_, anchor_);
}

SequenceEditModel::Outcome SequenceEditModel::moveCaret(int position, bool extend) {
    const Outcome completed = completePartial();
    caret_ = std::clamp(position, 0, length());
    if (!extend) {
        anchor_ = caret_;
    }
    return completed;
}

SequenceEditModel::Outcome SequenceEditModel::selectAll() {
    const Outcome completed = completePartial();
    anchor_ = 0;
    caret_ = length();
    return completed;
}

int SequenceEditModel::roomLeft() const {
    return maximumLength_ - (length() - (selectionEnd() - selectionStart()));
}

// ---------------------------------------------------------------- typing

SequenceEditModel::Outcome SequenceEditModel::typeText(std::string_view text) {
    Outcome total;
    std::size_t index = 0;
    while (index < text.size()) {
        const char32_t codePoint = windows1252::decodeUtf8(text, index);
        Outcome step;
        if ((codePoint == U'?' || codePoint == U'#') && symbolAllowed(static_cast<char>(codePoint))) {
            step = typeCode(-static_cast<int>(codePoint));
        } else if (representation_ == Representation::ASCII) {
            const int byte = codePoint < 32 ? -1 : windows1252::fromUnicode(codePoint);
            step = byte < 0 ? Outcome{false, true} : typeCode(byte);
        } else if (codePoint < 128 && isRadixDigit(static_cast<char>(codePoint), representation_)) {
            step = typeDigit(static_cast<char>(codePoint));
        } else if (codePoint == U' ') {
            step = completePartial();
        } else if (codePoint < 128 && isLetter(static_cast<char>(codePoint))) {
            const int code = editorCharacterCode(static_cast<char>(codePoint));
            step = code < 0 ? Outcome{false, true} : typeCode(code);
        } else {
            step = Outcome{false, true};
        }
        total.changed = total.changed || step.changed;
        total.refused = total.refused || step.refused;
    }
    return total;
}

SequenceEditModel::Outcome SequenceEditModel::typeCode(int code) {
    if (!isAllowedCode(code)) {
        return Outcome{false, true};
    }
    const Outcome completed = completePartial();
    Outcome inserted = insertCodes({static_cast<CharCode>(code)});
    inserted.changed = inserted.changed || completed.changed;
    return inserted;
}

int SequenceEditModel::editorCharacterCode(char letter) const {
    if (!isLetter(letter)) {
        return -1;
    }
    for (std::size_t code = 0; code < shortcuts_.size(); ++code) {
        if (shortcuts_[code].editorCharacter == std::string(1, letter)) {
            return static_cast<int>(code);
        }
    }
    // With Caps Lock on the user still means the letter he assigned.
    const char other = static_cast<char>(std::isupper(static_cast<unsigned char>(letter))
                                             ? std::tolower(static_cast<unsigned char>(letter))
                                             : std::toupper(static_cast<unsigned char>(letter)));
    for (std::size_t code = 0; code < shortcuts_.size(); ++code) {
        if (shortcuts_[code].editorCharacter == std::string(1, other)) {
            return static_cast<int>(code);
        }
    }
    return -1;
}

int SequenceEditModel::shortcutCode(int virtualKey, int shiftState) const {
    if (virtualKey <= 0) {
        return -1;
    }
    return modShortCutManagement::findShortcut(shortcuts_, virtualKey, shiftState);
}

SequenceEditModel::Outcome SequenceEditModel::typeDigit(char digit) {
    Outcome outcome;
    if (partial_.empty()) {
        if (roomLeft() <= 0) {
            return Outcome{false, true};
        }
        // The first digit of a token replaces the selection.
        if (hasSelection()) {
            pushUndo();
            outcome.changed = removeSelection();
        }
    }
    std::string candidate = partial_;
    candidate.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(digit))));
    if (static_cast<int>(candidate.size()) < representationWidth(representation_)) {
        partial_ = candidate;
        return outcome;
    }
    const CharCode value = readCharacterValue(candidate, representation_);
    if (value < 0) {
        outcome.refused = true;
        return outcome;
    }
    partial_.clear();
    const Outcome inserted = insertCodes({value});
    outcome.changed = outcome.changed || inserted.changed;
    outcome.refused = inserted.refused;
    return outcome;
}

SequenceEditModel::Outcome SequenceEditModel::completePartial() {
    if (partial_.empty()) {
        return {};
    }
    // Shorter than a token, the digits are its low digits; in Decimal two digits are below 256.
    const CharCode value = readCharacterValue(partial_, representation_);
    partial_.clear();
    if (value < 0) {
        return Outcome{false, true};
    }
    return insertCodes({value});
}

SequenceEditModel::Outcome SequenceEditModel::insertCodes(const std::vector<CharCode>& codes) {
    if (codes.empty()) {
        return {};
    }
    const int room = roomLeft();
    if (room <= 0 && !hasSelection()) {
        return Outcome{false, true};
    }
    pushUndo();
    removeSelection();
    const int taken = std::clamp(room, 0, static_cast<int>(codes.size()));
    codes_.insert(codes_.begin() + caret_, codes.begin(), codes.begin() + taken);
    caret_ += taken;
    anchor_ = caret_;
    return Outcome{true, taken < static_cast<int>(codes.size())};
}

bool SequenceEditModel::removeSelection() {
    if (!hasSelection()) {
        return false;
    }
    const int start = selectionStart();
    codes_.erase(codes_.begin() + start, codes_.begin() + selectionEnd());
    caret_ = anchor_ = start;
    return true;
}

SequenceEditModel::Outcome SequenceEditModel::backspace() {
    if (!partial_.empty()) {
        partial_.pop_back();
        return {};
    }
    if (hasSelection()) {
        pushUndo();
        return Outcome{removeSelection(), false};
    }
    if (caret_ == 0) {
        return {};
    }
    pushUndo();
    codes_.erase(codes_.begin() + caret_ - 1);
    anchor_ = --caret_;
    return Outcome{true, false};
}

SequenceEditModel::Outcome SequenceEditModel::deleteForward() {
    if (!partial_.empty()) {
        partial_.clear();
        return {};
    }
    if (hasSelection()) {
        pushUndo();
        return Outcome{removeSelection(), false};
    }
    if (caret_ >= length()) {
        return {};
    }
    pushUndo();
    codes_.erase(codes_.begin() + caret_);
    return Outcome{true, false};
}

// ---------------------------------------------------------------- undo

SequenceEditModel::Snapshot SequenceEditModel::snapshot() const {
    return Snapshot{codes_, caret_, anchor_};
}

void SequenceEditModel::restore(const Snapshot& state) {
    codes_ = state.codes;
    caret_ = std::clamp(state.caret, 0, length());
    anchor_ = std::clamp(state.anchor, 0, length());
}

void SequenceEditModel::pushUndo() {
    undo_.push_back(snapshot());
    if (undo_.size() > kUndoDepth) {
        undo_.erase(undo_.begin());
    }
    redo_.clear();
}

SequenceEditModel::Outcome SequenceEditModel::undo() {
    // A token typed halfway is undone first, on its own.
    if (!partial_.empty()) {
        partial_.clear();
        return {};
    }
    if (undo_.empty()) {
        return {};
    }
    redo_.push_back(snapshot());
    restore(undo_.back());
    undo_.pop_back();
    return Outcome{true, false};
}

SequenceEditModel::Outcome SequenceEditModel::redo() {
    partial_.clear();
    if (redo_.empty()) {
        return {};
    }
    undo_.push_back(snapshot());
    restore(redo_.back());
    redo_.pop_back();
    return Outcome{true, false};
}

// ---------------------------------------------------------------- clipboard

void SequenceEditModel::setSequenceClipboard(std::string_view text, const std::vector<CharCode>& codes) {
    clipboardText_ = std::string(text);
    clipboardCodes_.clear();
    for (CharCode code : codes) {
        if (code == kEndMarker) {
            break;
        }
        if (isAllowedCode(code)) {
            clipboardCodes_.push_back(code);
        }
    }
}

std::vector<CharCode> SequenceEditModel::clipboardSequence() const {
    std::vector<CharCode> result = clipboardCodes_;
    result.push_back(kEndMarker);
    return result;
}

bool SequenceEditModel::copy(Clipboard& clipboard) {
    completePartial();
    if (!hasSelection()) {
        return false;
    }
    ClSequence selected;
    selected.reserve(selectionEnd() - selectionStart());
    for (int index = selectionStart(); index < selectionEnd(); ++index) {
        selected.appendCharacter(codes_[static_cast<std::size_t>(index)]);
    }
    clipboardText_ = selected.getClipboardText(representation_);
    clipboardCodes_.assign(codes_.begin() + selectionStart(), codes_.begin() + selectionEnd());
    clipboard.setText(clipboardText_);
    return true;
}

SequenceEditModel::Outcome SequenceEditModel::cut(Clipboard& clipboard) {
    if (!copy(clipboard)) {
        return {};
    }
    pushUndo();
    return Outcome{removeSelection(), false};
}

std::vector<CharCode> SequenceEditModel::charactersOfText(std::string_view text) const {
    ClSequence pasted;
    if (!clipboardText_.empty() && text == clipboardText_) {
        pasted.setSequence(clipboardSequence());
    } else {
        pasted.parseText(representation_, text, kLargestMaximumLength);
    }
    pasted.checkSpecialCharacters(allowedSymbols_);
    std::vector<CharCode> result = pasted.IntSequence();
    result.pop_back();
    return result;
}

SequenceEditModel::Outcome SequenceEditModel::paste(const Clipboard& clipboard) {
    const Outcome completed = completePartial();
    const std::vector<CharCode> pasted = charactersOfText(clipboard.text());
    if (pasted.empty()) {
        return Outcome{completed.changed, true};
    }
    Outcome inserted = insertCodes(pasted);
    inserted.changed = inserted.changed || completed.changed;
    return inserted;
}

// ---------------------------------------------------------------- drawing

SequenceEditModel::Token SequenceEditModel::tokenOf(int code, Representation representation) {
    Token token;
    if (isSpecialCode(code)) {
        token.kind = TokenKind::Special;
        token.text = writeCharacter(code, representation);
    } else if (representation != Representation::ASCII) {
        token.kind = code < 32 || code == 127 ? TokenKind::Control : TokenKind::Data;
        token.text = writeCharacter(code, representation);
    } else if (code < 32) {
        token.kind = TokenKind::Control;
        token.text = controlCharacterMnemonic(code, true);
    } else {
        const char32_t shown = windows1252::toUnicode(static_cast<std::uint8_t>(code));
        // DEL, the C1 codes, the no-break space and the soft hyphen show nothing of their own.
        if (code == 127 || (shown >= 0x80 && shown < 0xA0) || shown == 0xA0 || shown == 0xAD) {
            token.kind = TokenKind::Control;
            token.text = bracketedHex(code);
        } else {
            token.text = ansiCharacter(static_cast<std::uint8_t>(code));
        }
    }
    token.cells = static_cast<int>(windows1252::characterCount(token.text));
    return token;
}

std::vector<SequenceEditModel::Token> SequenceEditModel::tokens() const {
    std::vector<Token> result;
    result.reserve(codes_.size() + 1);
    for (std::size_t index = 0; index < codes_.size(); ++index) {
        if (static_cast<int>(index) == caret_ && !partial_.empty()) {
            result.push_back(partialTokenOf());
        }
        result.push_back(tokenOf(codes_[index], representation_));
    }
    if (caret_ == length() && !partial_.empty()) {
        result.push_back(partialTokenOf());
    }
    return result;
}

SequenceEditModel::Token SequenceEditModel::partialTokenOf() const {
    const int width = representationWidth(representation_);
    Token token;
    token.kind = TokenKind::Partial;
    token.text = partial_ + std::string(static_cast<std::size_t>(width) - partial_.size(), '_');
    token.cells = width;
    return token;
}

int SequenceEditModel::gapCells() const {
    return representation_ == Representation::ASCII ? 0 : 1;
}

std::vector<SequenceEditModel::Place> SequenceEditModel::layout(const std::vector<Token>& tokens,
                                                                int columns) const {
    std::vector<Place> places;
    places.reserve(tokens.size() + 1);
    const int gap = gapCells();
    Place next;
    for (const Token& token : tokens) {
        if (columns > 0 && next.cell > 0 && next.cell + token.cells > columns) {
            next = Place{next.line + 1, 0};
        }
        places.push_back(next);
        next.cell += token.cells + gap;
    }
    if (columns > 0 && next.cell > 0 && next.cell >= columns) {
        next = Place{next.line + 1, 0};
    }
    places.push_back(next);
    return places;
}

int SequenceEditModel::positionAt(const std::vector<Token>& tokens, const std::vector<Place>& places,
                                  int line, double cell) const {
    if (tokens.empty() || places.size() != tokens.size() + 1 || line < 0) {
        return line < 0 ? 0 : length();
    }
    std::size_t tokenIndex = tokens.size();
    for (std::size_t index = 0; index < tokens.size(); ++index) {
        const Place& place = places[index];
        if (place.line < line) {
            continue;
        }
        if (place.line > line) {
            tokenIndex = index;
            break;
        }
        // Clicks on the left half of a token put the caret before it.
        if (2.0 * (cell - place.cell) < tokens[index].cells) {
            tokenIndex = index;
            break;
        }
    }
    // Tokens after the partial token stand one further than their characters.
    int position = static_cast<int>(tokenIndex);
    if (!partial_.empty() && position > caret_) {
        --position;
    }
    return std::clamp(position, 0, length());
}

int SequenceEditModel::caretTokenIndex() const {
    return partial_.empty() ? caret_ : caret_ + 1;
}

int SequenceEditModel::characterOfToken(int tokenIndex) const {
    if (partial_.empty() || tokenIndex < caret_) {
        return tokenIndex;
    }
    return tokenIndex == caret_ ? -1 : tokenIndex - 1;
}

} // namespace corvane
