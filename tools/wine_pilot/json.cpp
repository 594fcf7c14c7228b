#include "json.h"

#include <cstdio>

namespace pilot {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], size);
    return out;
}

std::string Utf8FromAnsi(const std::string& ansi) {
    if (ansi.empty()) return std::string();
    const int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], size);
    return Utf8(wide);
}

std::string AnsiFromUtf8(const std::string& utf8) {
    const std::wstring wide = Wide(utf8);
    if (wide.empty()) return std::string();
    const int size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::string Quoted(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof(escape), "\\u%04x", c);
                    out += escape;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

Json Json::Object() {
    Json json;
    json.text_ = "{";
    json.close_ = '}';
    return json;
}

Json Json::Array() {
    Json json;
    json.text_ = "[";
    json.close_ = ']';
    return json;
}

void Json::Separator() {
    if (!empty_) text_ += ",";
    empty_ = false;
}

void Json::Name(const char* name) {
    Separator();
    text_ += Quoted(name) + ":";
}

Json& Json::Field(const char* name, const std::string& utf8) {
    Name(name);
    text_ += Quoted(utf8);
    return *this;
}

Json& Json::Field(const char* name, const std::wstring& text) { return Field(name, Utf8(text)); }

Json& Json::Field(const char* name, const char* utf8) { return Field(name, std::string(utf8)); }

Json& Json::Field(const char* name, long long number) {
    Name(name);
    text_ += std::to_string(number);
    return *this;
}

Json& Json::Field(const char* name, bool flag) {
    Name(name);
    text_ += flag ? "true" : "false";
    return *this;
}

Json& Json::FieldNull(const char* name) {
    Name(name);
    text_ += "null";
    return *this;
}

Json& Json::FieldRaw(const char* name, const Json& value) {
    Name(name);
    text_ += value.Text();
    return *this;
}

Json& Json::Add(const std::string& utf8) {
    Separator();
    text_ += Quoted(utf8);
    return *this;
}

Json& Json::Add(long long number) {
    Separator();
    text_ += std::to_string(number);
    return *this;
}

Json& Json::AddRaw(const Json& value) {
    Separator();
    text_ += value.Text();
    return *this;
}

std::string Json::Text() const { return text_ + close_; }

}  // namespace pilot
