// The driver's `tree` on html5lib-style inputs, loaded from files.
#include "dom_tree.h"

#include <gtest/gtest.h>

#include <fstream>

#include "driver_values.h"
#include "page_driver.h"
#include "support/temp_folder.h"

namespace corvalin::page_driver {
namespace {

TEST(DomTreeTest, PrintsTheTreeAsHtml5libTestsDo) {
    const struct {
        const char* input;
        const char* tree;
    } cases[] = {
        {"<p>One<p>Two",
         "| <html>\n"
         "|   <head>\n"
         "|   <body>\n"
         "|     <p>\n"
         "|       \"One\"\n"
         "|     <p>\n"
         "|       \"Two\"\n"},
        {"<html><head><title>t</title></head><body><div id=b class=\"x y\" data-z=1>a &amp; b<!-- c --></div>",
         "| <html>\n"
         "|   <head>\n"
         "|     <title>\n"
         "|       \"t\"\n"
         "|   <body>\n"
         "|     <div>\n"
         "|       class=\"x y\"\n"
         "|       data-z=\"1\"\n"
         "|       id=\"b\"\n"
         "|       \"a & b\"\n"
         "|       <!--  c  -->\n"},
        {"<ul><li>a<li>b</ul>",
         "| <html>\n"
         "|   <head>\n"
         "|   <body>\n"
         "|     <ul>\n"
         "|       <li>\n"
         "|         \"a\"\n"
         "|       <li>\n"
         "|         \"b\"\n"},
        {"<body>x<b>y<i>z</i></b>",
         "| <html>\n"
         "|   <head>\n"
         "|   <body>\n"
         "|     \"x\"\n"
         "|     <b>\n"
         "|       \"y\"\n"
         "|       <i>\n"
         "|         \"z\"\n"},
        {"<p>中文</p>",
         "| <html>\n"
         "|   <head>\n"
         "|   <body>\n"
         "|     <p>\n"
         "|       \"中文\"\n"},
    };
    testing::TempFolder folder;
    PageDriver driver(false);
    ASSERT_TRUE(driver.ready());
    for (const auto& c : cases) {
        const std::string file = folder.File("case.html");
        std::ofstream(file, std::ios::binary) << "<meta charset=utf-8>" << AnsiToUtf8(c.input);
        ASSERT_NE(driver.Run("load " + file).find("true"), std::string::npos);
        const Json answer = Json::parse(driver.Run("tree"));
        std::string tree = Utf8ToAnsi(answer["result"].get<std::string>());
        // The charset declaration is ours, not the case's.
        const size_t meta = tree.find("|     <meta>\n|       charset=\"utf-8\"\n");
        if (meta != std::string::npos) tree.erase(meta, std::string("|     <meta>\n|       charset=\"utf-8\"\n").size());
        EXPECT_EQ(tree, c.tree) << c.input;
    }
}

}  // namespace
}  // namespace corvalin::page_driver
