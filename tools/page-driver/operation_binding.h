// Turns a PageAutomation member into a row of the operation table.
#pragma once
#include <tuple>
#include <type_traits>
#include <utility>

#include "operation_table.h"

namespace corvalin::page_driver {

template <auto Member, class Result, class... Args>
bool RunOperation(const DriverScope& scope, const DeclaredOperation& declared, const std::vector<std::string>& words,
                  Json& answer, std::string& error) {
    std::tuple<Parameter<Args>...> parameters;
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        if (!(std::get<I>(parameters).Take(words[I], scope, error) && ...)) return false;
        if constexpr (std::is_void_v<Result>) {
            (scope.automation.*Member)(std::get<I>(parameters).Pass()...);
            answer["result"] = nullptr;
        } else {
            answer["result"] = ToJson((scope.automation.*Member)(std::get<I>(parameters).Pass()...));
        }
        Json out = Json::object();
        ((Parameter<Args>::role != ParameterRole::In ? void(out[declared.parameters[I].name] =
                                                                std::get<I>(parameters).Answer())
                                                     : void()),
         ...);
        if (!out.empty()) answer["out"] = std::move(out);
        return true;
    }(std::index_sequence_for<Args...>{});
}

template <auto Member, class Result, class... Args>
OperationBinding MakeBinding(const char* name, Result (PageAutomation::*)(Args...) const) {
    return {name, {Parameter<Args>::role...}, &RunOperation<Member, Result, Args...>};
}
template <auto Member, class Result, class... Args>
OperationBinding MakeBinding(const char* name, Result (PageAutomation::*)(Args...)) {
    return {name, {Parameter<Args>::role...}, &RunOperation<Member, Result, Args...>};
}

}  // namespace corvalin::page_driver

// One row: the operation's name, exactly as PageAutomation declares it.
#define PAGE_DRIVER_OPERATION(name) \
    ::corvalin::page_driver::MakeBinding<&::corvalin::PageAutomation::name>(#name, &::corvalin::PageAutomation::name)
