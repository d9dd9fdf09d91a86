#pragma once

#include "communication/CommunicationSettings.h"
#include "sequences/modSequenceManagement.h"

#include <functional>
#include <string>
#include <vector>

namespace corvane {

class ClMyPrinter;

// One line of the project listing: a text (bold or not), an empty line or a rule.
struct ListingLine {
    enum class Kind { Text, Empty, Rule };
    Kind kind = Kind::Text;
    std::string text;
    bool bold = false;
    bool operator==(const ListingLine&) const = default;
};

// What the project listing shows.
struct ProjectListingInput {
    // The current date in the user's short form, and the application title.
    std::string date;
    std::string title;
    // Directory + base name + ".ptp"; empty for a project never saved.
    std::string projectPath;
    const CommunicationSettings& settings;
    const SendSequenceList& sendList;
    const ReceiveSequenceList& receiveList;
    // The representation of the sequence lists.
    Representation representation = Representation::ASCII;
    // The decimal separator of the user's number format.
    char decimalSeparator = '.';
};

// The project listing, line by line: the header, the communication settings, the send sequences
// and the receive sequences with their actions.
std::vector<ListingLine> projectListingLines(const ProjectListingInput& input);

// A repeat interval in milliseconds as seconds in the shortest decimal form ("5", "1.5", "0.01").
std::string intervalSecondsText(std::int32_t milliseconds, char decimalSeparator = '.');

// The listing as plain text, a rule being a line of dashes.
std::string listingPlainText(const std::vector<ListingLine>& lines);

// Prints the listing once for every copy, each copy from a new page, then, when notes are given,
// the notes once for every copy, each from a new page. The job is started and ended here; false
// when the printer couldn't start it.
bool printProjectListing(ClMyPrinter& printer, const std::vector<ListingLine>& lines,
                         const std::function<void(ClMyPrinter&)>& printNotes);

} // namespace corvane
