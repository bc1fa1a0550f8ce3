#include "declared_operations.h"

#include <cctype>
#include <cstddef>

extern const unsigned char PageAutomationHeader[];
extern const std::size_t PageAutomationHeaderSize;

namespace corvalin::page_driver {

namespace {

std::string Trim(std::string_view text) {
    size_t start = 0, end = text.size();
    while (start < end && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
    while (end > start && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return std::string(text.substr(start, end - start));
}

bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The text with comments replaced by blanks (string literals kept as they are).
std::string WithoutComments(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            const size_t start = i++;
            while (i < text.size() && text[i] != '"') i += text[i] == '\\' ? 2 : 1;
            out.append(text.substr(start, i - start + 1));
        } else if (text.substr(i, 2) == "//") {
            while (i < text.size() && text[i] != '\n') ++i;
            out += '\n';
        } else if (text.substr(i, 2) == "/*") {
            i = text.find("*/", i + 2);
            if (i == std::string_view::npos) break;
            ++i;
            out += ' ';
        } else {
            out += text[i];
        }
    }
    return out;
}

// Splits at the commas (or the first "=") outside brackets, quotes and templates.
std::vector<std::string> SplitTopLevel(std::string_view text, char separator, bool firstOnly = false) {
    std::vector<std::string> parts;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) i += text[i] == '\\';
        } else if (c == '(' || c == '<' || c == '{' || c == '[') {
            ++depth;
        } else if (c == ')' || c == '>' || c == '}' || c == ']') {
            --depth;
        } else if (c == separator && depth == 0 && !(firstOnly && parts.size() == 1)) {
            parts.push_back(std::string(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    parts.push_back(std::string(text.substr(start)));
    return parts;
}

DeclaredParameter ParseParameter(std::string_view text) {
    DeclaredParameter parameter;
    const std::vector<std::string> sides = SplitTopLevel(text, '=', true);
    if (sides.size() > 1) {
        parameter.hasDefault = true;
        parameter.defaultValue = Trim(sides[1]);
    }
    const std::string declaration = Trim(sides[0]);
    size_t nameStart = declaration.size();
    while (nameStart > 0 && IsIdentifierChar(declaration[nameStart - 1])) --nameStart;
    parameter.name = declaration.substr(nameStart);
    parameter.type = Trim(std::string_view(declaration).substr(0, nameStart));
    return parameter;
}

// One member declaration ("R Name(params) const"), or false when it is not an operation.
bool ParseMember(const std::string& statement, DeclaredOperation& operation) {
    const size_t open = statement.find('(');
    if (open == std::string::npos) return false;
    size_t nameEnd = open;
    while (nameEnd > 0 && std::isspace(static_cast<unsigned char>(statement[nameEnd - 1]))) --nameEnd;
    size_t nameStart = nameEnd;
    while (nameStart > 0 && IsIdentifierChar(statement[nameStart - 1])) --nameStart;
    operation.name = statement.substr(nameStart, nameEnd - nameStart);
    operation.resultType = Trim(std::string_view(statement).substr(0, nameStart));
    if (operation.name.empty() || !std::isupper(static_cast<unsigned char>(operation.name[0])) ||
        operation.name == "PageAutomation" || operation.resultType.empty() ||
        operation.resultType.find("operator") != std::string::npos || operation.resultType.back() == '~') {
        return false;
    }
    int depth = 0;
    size_t close = open;
    for (; close < statement.size(); ++close) {
        if (statement[close] == '(') ++depth;
        if (statement[close] == ')' && --depth == 0) break;
    }
    const std::string inside = Trim(std::string_view(statement).substr(open + 1, close - open - 1));
    if (!inside.empty() && inside != "void") {
        for (const std::string& part : SplitTopLevel(inside, ',')) operation.parameters.push_back(ParseParameter(part));
    }
    return true;
}

}  // namespace

std::vector<DeclaredOperation> ParseDeclaredOperations(std::string_view header) {
    std::vector<DeclaredOperation> operations;
    const std::string text = WithoutComments(header);
    const size_t classStart = text.find("class PageAutomation {");
    if (classStart == std::string::npos) return operations;
    bool isPublic = false;   // a class starts private
    int braces = 0, parens = 0;
    std::string statement;
    auto finish = [&] {
        DeclaredOperation operation;
        if (isPublic && ParseMember(Trim(statement), operation)) operations.push_back(std::move(operation));
        statement.clear();
    };
    for (size_t i = text.find('{', classStart); i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{' && parens == 0) {
            if (++braces == 2) finish();   // an inline body ends the declaration before it
            continue;
        }
        if (c == '}' && parens == 0) {
            if (--braces == 0) break;
            continue;
        }
        if (braces != 1) continue;
        if (c == '(') ++parens;
        if (c == ')') --parens;
        if (c == ';' && parens == 0) {
            finish();
            continue;
        }
        if (c == ':' && parens == 0 && (i + 1 >= text.size() || text[i + 1] != ':') &&
            (i == 0 || text[i - 1] != ':')) {
            const std::string label = Trim(statement);
            if (label == "public" || label == "private" || label == "protected") {
                isPublic = label == "public";
                statement.clear();
                continue;
            }
        }
        statement += c;
    }
    return operations;
}

const std::vector<DeclaredOperation>& PageAutomationDeclarations() {
    static const std::vector<DeclaredOperation> declarations = ParseDeclaredOperations(
        std::string_view(reinterpret_cast<const char*>(PageAutomationHeader), PageAutomationHeaderSize));
    return declarations;
}

}  // namespace corvalin::page_driver
