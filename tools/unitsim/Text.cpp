#include "Text.h"

#include <cstdio>

void emitLine(const std::string &line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string escaped(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += ch;
        } else {
            out += "\\x";
            out += hex(c, 2);
        }
    }
    return out;
}

std::string trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

std::string upper(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

std::string hex(uint32_t value, int digits)
{
    static const char digitChars[] = "0123456789ABCDEF";
    std::string out(size_t(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        out[size_t(i)] = digitChars[value & 0xF];
        value >>= 4;
    }
    return out;
}

std::optional<int64_t> parseDecimal(std::string_view s)
{
    const std::string t = trimmed(s);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        negative = t[i++] == '-';
    if (i == t.size() || t.size() - i > 12)
        return std::nullopt;
    int64_t value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        value = value * 10 + (t[i] - '0');
    }
    return negative ? -value : value;
}

std::optional<uint32_t> parseHex(std::string_view s, int maxDigits)
{
    const std::string t = trimmed(s);
    if (t.empty() || t.size() > size_t(maxDigits))
        return std::nullopt;
    uint32_t value = 0;
    for (const char c : t) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else return std::nullopt;
        value = (value << 4) | uint32_t(d);
    }
    return value;
}
