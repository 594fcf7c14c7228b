// A one-line JSON object writer: the pilot answers every command with one
// such line on its standard output. Texts go out as UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace pilot {

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
// Bytes of the active ANSI code page, as the installer's "A" calls see them.
std::string Utf8FromAnsi(const std::string& ansi);
std::string AnsiFromUtf8(const std::string& utf8);

// A JSON value, written as it is built.
class Json {
public:
    static Json Object();
    static Json Array();

    Json& Field(const char* name, const std::string& utf8);
    Json& Field(const char* name, const std::wstring& text);
    Json& Field(const char* name, const char* utf8);
    Json& Field(const char* name, long long number);
    Json& Field(const char* name, bool flag);
    Json& FieldNull(const char* name);
    Json& FieldRaw(const char* name, const Json& value);

    Json& Add(const std::string& utf8);
    Json& Add(long long number);
    Json& AddRaw(const Json& value);

    std::string Text() const;

private:
    void Separator();
    void Name(const char* name);

    std::string text_;
    char close_ = '}';
    bool empty_ = true;
};

std::string Quoted(const std::string& utf8);

}  // namespace pilot
