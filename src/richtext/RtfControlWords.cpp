#include "richtext/RtfControlWords.h"

#include <algorithm>
#include <array>
#include <utility>

namespace corvane {

namespace {

using Entry = std::pair<std::string_view, RtfWord>;

// Sorted by name for the binary search below.
constexpr auto kWords = std::to_array<Entry>({
    {"aftncn", RtfWord::SkippedDestination},
    {"aftnsep", RtfWord::SkippedDestination},
    {"aftnsepc", RtfWord::SkippedDestination},
    {"annotation", RtfWord::SkippedDestination},
    {"atnauthor", RtfWord::SkippedDestination},
    {"atndate", RtfWord::SkippedDestination},
    {"atnid", RtfWord::SkippedDestination},
    {"atnref", RtfWord::SkippedDestination},
    {"author", RtfWord::SkippedDestination},
    {"b", RtfWord::Bold},
    {"bin", RtfWord::Bin},
    {"bkmkend", RtfWord::SkippedDestination},
    {"bkmkstart", RtfWord::SkippedDestination},
    {"blue", RtfWord::Blue},
    {"bullet", RtfWord::Bullet},
    {"buptim", RtfWord::SkippedDestination},
    {"category", RtfWord::SkippedDestination},
    {"cell", RtfWord::Cell},
    {"cf", RtfWord::ForegroundColor},
    {"colortbl", RtfWord::ColorTable},
    {"comment", RtfWord::SkippedDestination},
    {"company", RtfWord::SkippedDestination},
    {"creatim", RtfWord::SkippedDestination},
    {"datastore", RtfWord::SkippedDestination},
    {"deff", RtfWord::DefaultFont},
    {"do", RtfWord::SkippedDestination},
    {"doccomm", RtfWord::SkippedDestination},
    {"docvar", RtfWord::SkippedDestination},
    {"emdash", RtfWord::EmDash},
    {"emspace", RtfWord::EmSpace},
    {"endash", RtfWord::EnDash},
    {"enspace", RtfWord::EnSpace},
    {"f", RtfWord::Font},
    {"falt", RtfWord::SkippedDestination},
    {"fldinst", RtfWord::SkippedDestination},
    {"fldrslt", RtfWord::TextDestination},
    {"fonttbl", RtfWord::FontTable},
    {"footer", RtfWord::SkippedDestination},
    {"footerf", RtfWord::SkippedDestination},
    {"footerl", RtfWord::SkippedDestination},
    {"footerr", RtfWord::SkippedDestination},
    {"footnote", RtfWord::SkippedDestination},
    {"fs", RtfWord::FontSize},
    {"ftncn", RtfWord::SkippedDestination},
    {"ftnsep", RtfWord::SkippedDestination},
    {"ftnsepc", RtfWord::SkippedDestination},
    {"generator", RtfWord::SkippedDestination},
    {"green", RtfWord::Green},
    {"header", RtfWord::SkippedDestination},
    {"headerf", RtfWord::SkippedDestination},
    {"headerl", RtfWord::SkippedDestination},
    {"headerr", RtfWord::SkippedDestination},
    {"hlinkbase", RtfWord::SkippedDestination},
    {"i", RtfWord::Italic},
    {"info", RtfWord::SkippedDestination},
    {"keywords", RtfWord::SkippedDestination},
    {"latentstyles", RtfWord::SkippedDestination},
    {"ldblquote", RtfWord::LeftDoubleQuote},
    {"line", RtfWord::Line},
    {"listoverridetable", RtfWord::SkippedDestination},
    {"listtable", RtfWord::SkippedDestination},
    {"listtext", RtfWord::TextDestination},
    {"lquote", RtfWord::LeftQuote},
    {"manager", RtfWord::SkippedDestination},
    {"nestcell", RtfWord::Cell},
    {"nonshppict", RtfWord::SkippedDestination},
    {"object", RtfWord::SkippedDestination},
    {"operator", RtfWord::SkippedDestination},
    {"page", RtfWord::Page},
    {"panose", RtfWord::SkippedDestination},
    {"par", RtfWord::Par},
    {"pard", RtfWord::ParagraphDefault},
    {"pict", RtfWord::SkippedDestination},
    {"plain", RtfWord::Plain},
    {"pn", RtfWord::SkippedDestination},
    {"pntext", RtfWord::TextDestination},
    {"pntxta", RtfWord::SkippedDestination},
    {"pntxtb", RtfWord::SkippedDestination},
    {"printim", RtfWord::SkippedDestination},
    {"qc", RtfWord::AlignCenter},
    {"qj", RtfWord::AlignJustify},
    {"ql", RtfWord::AlignLeft},
    {"qmspace", RtfWord::QuarterEmSpace},
    {"qr", RtfWord::AlignRight},
    {"rdblquote", RtfWord::RightDoubleQuote},
    {"red", RtfWord::Red},
    {"revtbl", RtfWord::SkippedDestination},
    {"revtim", RtfWord::SkippedDestination},
    {"row", RtfWord::Row},
    {"rquote", RtfWord::RightQuote},
    {"rsidtbl", RtfWord::SkippedDestination},
    {"sect", RtfWord::Sect},
    {"shp", RtfWord::SkippedDestination},
    {"shppict", RtfWord::SkippedDestination},
    {"stylesheet", RtfWord::SkippedDestination},
    {"subject", RtfWord::SkippedDestination},
    {"tab", RtfWord::Tab},
    {"tc", RtfWord::SkippedDestination},
    {"template", RtfWord::SkippedDestination},
    {"themedata", RtfWord::SkippedDestination},
    {"title", RtfWord::SkippedDestination},
    {"txe", RtfWord::SkippedDestination},
    {"u", RtfWord::Unicode},
    {"uc", RtfWord::UnicodeSkip},
    {"ul", RtfWord::Underline},
    {"uld", RtfWord::Underline},
    {"uldash", RtfWord::Underline},
    {"uldashd", RtfWord::Underline},
    {"uldashdd", RtfWord::Underline},
    {"uldb", RtfWord::Underline},
    {"ulhwave", RtfWord::Underline},
    {"ulldash", RtfWord::Underline},
    {"ulnone", RtfWord::UnderlineNone},
    {"ulth", RtfWord::Underline},
    {"ulthd", RtfWord::Underline},
    {"ulthdash", RtfWord::Underline},
    {"ulthdashd", RtfWord::Underline},
    {"ulthdashdd", RtfWord::Underline},
    {"ulthldash", RtfWord::Underline},
    {"ululdbwave", RtfWord::Underline},
    {"ulw", RtfWord::Underline},
    {"ulwave", RtfWord::Underline},
    {"userprops", RtfWord::SkippedDestination},
    {"xe", RtfWord::SkippedDestination},
    {"xmlnstbl", RtfWord::SkippedDestination},
});

static_assert(std::is_sorted(kWords.begin(), kWords.end(),
                             [](const Entry& a, const Entry& b) { return a.first < b.first; }));

} // namespace

RtfWord rtfWordOf(std::string_view name) {
    auto it = std::lower_bound(kWords.begin(), kWords.end(), name,
                               [](const Entry& entry, std::string_view key) { return entry.first < key; });
    return it != kWords.end() && it->first == name ? it->second : RtfWord::Unknown;
}

char32_t characterOfWord(RtfWord word) {
    switch (word) {
    case RtfWord::Line:
        return 0x2028;
    case RtfWord::Tab:
    case RtfWord::Cell:
        return '\t';
    case RtfWord::EmDash:
        return 0x2014;
    case RtfWord::EnDash:
        return 0x2013;
    case RtfWord::Bullet:
        return 0x2022;
    case RtfWord::LeftQuote:
        return 0x2018;
    case RtfWord::RightQuote:
        return 0x2019;
    case RtfWord::LeftDoubleQuote:
        return 0x201C;
    case RtfWord::RightDoubleQuote:
        return 0x201D;
    case RtfWord::EmSpace:
        return 0x2003;
    case RtfWord::EnSpace:
        return 0x2002;
    case RtfWord::QuarterEmSpace:
        return 0x2005;
    default:
        return 0;
    }
}

} // namespace corvane
