#include "persistence/HtmlTemplates.h"

namespace corvane {

const std::string& defaultLogHTMLHeader() {
    static const std::string text =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
        "\"http://www.w3.org/TR/html4/loose.dtd\">\r\n"
        "<html>\r\n"
        "<head>\r\n"
        "<title>Corvane Log File</title>\r\n"
        "<meta name=\"description\" content=\"Corvane Log File\">\r\n"
        "</head>\r\n"
        "<body bgcolor=#%BACKCOLOR% text=#000000>\r\n"
        "<h3>%HEADERMSG%</h3>\r\n"
        "<p><span style=\"font-family:'Courier New', Courier, monospace; font-size:small\">\r\n";
    return text;
}

const std::string& defaultLogHTMLFooter() {
    static const std::string text = "</span></p>\r\n"
                                    "<h3>%FOOTERMSG%</h3>\r\n"
                                    "</body>\r\n"
                                    "</html>\r\n";
    return text;
}

const std::string& defaultLogHTMLDataElement() {
    static const std::string text = "<span style=\"color:#%TEXTCOLOR%\">%DATA%</span>";
    return text;
}

} // namespace corvane
