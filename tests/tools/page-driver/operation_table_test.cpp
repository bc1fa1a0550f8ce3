// The driver's table against the PageAutomation header in the source tree.
#include "operation_table.h"

#include <gtest/gtest.h>

#include "page_driver.h"
#include "support/child_process.h"

namespace corvalin::page_driver {
namespace {

TEST(OperationTableTest, EveryPublicOperationOfTheHeaderHasARow) {
    const std::string header = testing::ReadWholeFile(CORVALIN_PAGE_AUTOMATION_HEADER);
    ASSERT_FALSE(header.empty());
    const std::vector<DeclaredOperation> declared = ParseDeclaredOperations(header);
    ASSERT_GT(declared.size(), 100u);
    for (const DeclaredOperation& operation : declared) {
        const OperationBinding* binding = FindOperation(operation.name);
        ASSERT_NE(binding, nullptr) << operation.name << " has no row in the driver's table";
        EXPECT_EQ(binding->roles.size(), operation.parameters.size()) << operation.name;
    }
    for (const OperationBinding& binding : OperationTable()) {
        EXPECT_TRUE(std::any_of(declared.begin(), declared.end(), [&](const auto& d) { return d.name == binding.name; }))
            << binding.name << " is not a public operation";
    }
    // The program was built with the same header.
    EXPECT_EQ(PageAutomationDeclarations().size(), declared.size());
}

TEST(OperationTableTest, DeclarationsGiveNamesDefaultsAndOnlyPublicOperations) {
    const auto declared = ParseDeclaredOperations(R"(
        namespace x {
        class Other { public: int Wrong(); };
        class PageAutomation {
            int Hidden();
        public:
            PageAutomation();
            ~PageAutomation();
            PageAutomation& operator=(const PageAutomation&) = delete;
            // a comment: int Commented(int a);
            bool GetInfo(int ordinal, std::string* value = nullptr, /* note */ AutomationObject* element = {}) const;
            std::vector<std::pair<int, int>> Pairs(std::map<int, std::string> map, const char* text = "a, b");
            HWND host() const { return host_; }
            void Last(
                int a, bool b = true);
        private:
            int NotPublic(int a);
        };
        })");
    ASSERT_EQ(declared.size(), 3u);
    EXPECT_EQ(declared[0].name, "GetInfo");
    EXPECT_EQ(declared[0].resultType, "bool");
    ASSERT_EQ(declared[0].parameters.size(), 3u);
    EXPECT_EQ(declared[0].parameters[1].type, "std::string*");
    EXPECT_EQ(declared[0].parameters[1].name, "value");
    EXPECT_EQ(declared[0].parameters[2].defaultValue, "{}");
    EXPECT_FALSE(declared[0].parameters[0].hasDefault);
    EXPECT_EQ(declared[1].name, "Pairs");
    ASSERT_EQ(declared[1].parameters.size(), 2u);
    EXPECT_EQ(declared[1].parameters[1].defaultValue, "\"a, b\"");
    EXPECT_EQ(declared[2].name, "Last");
    EXPECT_EQ(declared[2].parameters[1].defaultValue, "true");
}

TEST(OperationTableTest, HelpListsEveryOperationWithItsArguments) {
    const std::string help = HelpText();
    for (const OperationBinding& binding : OperationTable()) {
        EXPECT_NE(help.find("\n  " + std::string(binding.name) + " "), std::string::npos) << binding.name;
    }
    EXPECT_NE(help.find("GetTextInputInfo ordinal   out: value name id type element   -> bool"), std::string::npos);
    EXPECT_NE(help.find("FindInputElement typeList key skip ordinal&   -> AutomationObject"), std::string::npos);
    EXPECT_NE(help.find("ClickLink key [skip=0] [clearTarget=false]   -> bool"), std::string::npos);
    for (const char* command : {"load URL|FILE", "wait MS", "eval CODE", "tree", "screenshot FILE.png", "quit"}) {
        EXPECT_NE(help.find(std::string("\n  ") + command + "\n"), std::string::npos) << command;
    }
}

}  // namespace
}  // namespace corvalin::page_driver
