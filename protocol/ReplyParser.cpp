#include "protocol/ReplyParser.h"

#include "core/CText.h"

namespace {

// The text strictly between the first and the last "&", empty when there is only one.
std::string_view betweenAmpersands(std::string_view reply, std::size_t first)
{
    std::size_t last = reply.rfind('&');
    if (last <= first)
        return {};
    return reply.substr(first + 1, last - first - 1);
}

} // namespace

std::optional<IdentificationReply> parseIdentification(std::string_view reply)
{
    std::size_t first = reply.find('&');
    if (first == std::string_view::npos)
        return std::nullopt;
    IdentificationReply result;
    std::string_view identity = reply.substr(0, first);
    if (identity == "Vavizi232")
        result.lineType = "232";
    else if (identity == "Dirado485")
        result.lineType = "485";
    result.unit = std::string(betweenAmpersands(reply, first));
    return result;
}

std::optional<std::string> parseMeasureReply(std::string_view reply)
{
    std::size_t first = reply.find('&');
    if (first == std::string_view::npos)
        return std::nullopt;
    return trimDataText(betweenAmpersands(reply, first));
}

std::string parseDataLine(std::string_view reply) { return trimDataText(reply); }

std::string trimDataText(std::string_view text)
{
    std::string_view trimmed = ctext::trimRight(text);
    std::string_view unterminated = text;
    while (!unterminated.empty() && (unterminated.back() == '\r' || unterminated.back() == '\n'))
        unterminated.remove_suffix(1);
    // Keep the trailing blanks of a padded last field, so that a complete data text stays
    // complete (and is shown and recorded whole). Any other length is not a data text to
    // repair: cutting a longer one to 104 characters would shift its fields.
    if (unterminated.size() == kDataTextLength)
        return std::string(unterminated);
    return std::string(trimmed);
}

std::vector<std::string_view> splitDataFields(std::string_view data)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0; fields.size() < kFieldCount && data.size() - start >= kFieldWidth;
         start += kFieldWidth)
        fields.push_back(data.substr(start, kFieldWidth));
    return fields;
}
