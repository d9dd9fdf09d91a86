#pragma once

#include "communication/CommunicationSettings.h"
#include "display/ProjectListing.h"
#include "sequences/modSequenceManagement.h"

#include <string>

namespace corvane::cli {

// The printed project listing as plain text: the header line (date and application title), the
// project path, the communication settings and both sequence lists. Headings that the printer
// sets in bold are plain lines here; a rule is a line of dashes.
std::string projectListing(const std::string& dateText, const std::string& title,
                           const std::string& projectPath, const CommunicationSettings& settings,
                           const SendSequenceList& sendList, const ReceiveSequenceList& receiveList,
                           Representation representation);

using corvane::intervalSecondsText;

} // namespace corvane::cli
