// The driver's table from operation names to PageAutomation calls. Each row
// binds one member; its parameter roles come from the member's C++ type, its
// parameter names and defaults from the declaration in page_automation.h.
#pragma once
#include <string>
#include <vector>

#include "declared_operations.h"
#include "driver_values.h"

namespace corvalin::page_driver {

// Calls the operation with one word per parameter (the given or default word
// for given parameters, "" for supplied ones) and fills "result" and "out".
using OperationRunner = bool (*)(const DriverScope& scope, const DeclaredOperation& declared,
                                 const std::vector<std::string>& words, Json& answer, std::string& error);

struct OperationBinding {
    const char* name;
    std::vector<ParameterRole> roles;
    OperationRunner run;
};

const std::vector<OperationBinding>& OperationTable();
const OperationBinding* FindOperation(std::string_view name);

}  // namespace corvalin::page_driver
