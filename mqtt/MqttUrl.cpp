#include "mqtt/MqttUrl.h"

#include <charconv>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool percentDecode(std::string_view text, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        const int high = hexDigit(text[i + 1]);
        const int low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

bool fail(std::string* error, const char* text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

std::string MqttUrl::display() const
{
    std::string text = tls ? "mqtts://" : "mqtt://";
    if (!user.empty())
        text += user + "@";
    return text + host + ":" + std::to_string(port) + "/" + prefix;
}

MqttSession MqttUrl::session() const
{
    MqttSession session;
    session.host = host;
    session.port = port;
    session.user = user;
    session.password = password;
    session.tls = tls;
    return session;
}

bool parseMqttUrl(std::string_view text, MqttUrl& url, std::string* error)
{
    MqttUrl result;
    if (text.substr(0, 8) == "mqtts://") {
        result.tls = true;
        result.port = 8883;
        text.remove_prefix(8);
    } else if (text.substr(0, 7) == "mqtt://") {
        text.remove_prefix(7);
    } else {
        return fail(error, "it must start with mqtt:// or mqtts://");
    }
    std::string_view authority = text.substr(0, text.find('/'));
    std::string_view path =
        authority.size() < text.size() ? text.substr(authority.size() + 1) : std::string_view();
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view userInfo = authority.substr(0, at);
        authority.remove_prefix(at + 1);
        const auto colon = userInfo.find(':');
        if (!percentDecode(userInfo.substr(0, colon), result.user) || result.user.empty())
            return fail(error, "the user name is empty or badly escaped");
        if (colon != std::string_view::npos) {
            result.hasPassword = true;
            if (!percentDecode(userInfo.substr(colon + 1), result.password))
                return fail(error, "the password is badly escaped");
        }
    }
    std::string_view host = authority;
    if (!host.empty() && host.front() == '[') { // [::1]:1883
        const auto close = host.find(']');
        if (close == std::string_view::npos)
            return fail(error, "the host has no closing ']'");
        authority = host.substr(close + 1);
        host = host.substr(1, close - 1);
    } else {
        const auto colon = host.rfind(':');
        authority = colon == std::string_view::npos ? std::string_view() : host.substr(colon);
        host = host.substr(0, colon);
    }
    if (host.empty())
        return fail(error, "it names no host");
    result.host = std::string(host);
    if (!authority.empty()) {
        if (authority.front() != ':')
            return fail(error, "the host is followed by something other than a port");
        authority.remove_prefix(1);
        int port = 0;
        const char* end = authority.data() + authority.size();
        const auto [ptr, code] = std::from_chars(authority.data(), end, port);
        if (authority.empty() || code != std::errc() || ptr != end || port < 1 || port > 65535)
            return fail(error, "the port must be a number from 1 to 65535");
        result.port = port;
    }
    if (!path.empty()) {
        if (path.back() == '/' || path.find("//") != std::string_view::npos ||
            path.find_first_of("+#") != std::string_view::npos)
            return fail(error, "the topic prefix has an empty level or a wildcard");
        result.prefix = std::string(path);
    }
    url = std::move(result);
    return true;
}
