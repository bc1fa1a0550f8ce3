// The public operations of PageAutomation as its header declares them: their
// names, parameter names and default values. The driver takes its argument
// names and defaults from here, so its table never restates them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace corvalin::page_driver {

struct DeclaredParameter {
    std::string type;           // as written, e.g. "std::string_view" or "std::string*"
    std::string name;
    std::string defaultValue;   // as written; empty when there is none
    bool hasDefault = false;
};

struct DeclaredOperation {
    std::string name;
    std::string resultType;
    std::vector<DeclaredParameter> parameters;
};

// The public member functions of class PageAutomation in `header`, in
// declaration order (constructors, the destructor, operators and lower-case
// accessors left out).
std::vector<DeclaredOperation> ParseDeclaredOperations(std::string_view header);

// The operations of the header this program was built with.
const std::vector<DeclaredOperation>& PageAutomationDeclarations();

}  // namespace corvalin::page_driver
