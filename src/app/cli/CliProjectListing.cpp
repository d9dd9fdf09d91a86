#include "CliProjectListing.h"

namespace corvane::cli {

std::string projectListing(const std::string& dateText, const std::string& title,
                           const std::string& projectPath, const CommunicationSettings& settings,
                           const SendSequenceList& sendList, const ReceiveSequenceList& receiveList,
                           Representation representation) {
    const ProjectListingInput input{dateText, title,       projectPath,   settings,
                                    sendList, receiveList, representation};
    return listingPlainText(projectListingLines(input));
}

} // namespace corvane::cli
