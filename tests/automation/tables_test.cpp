// Tables of a results page shown by the real browser box: a head row, cells
// holding links and markup, and a second small table after it.
#include <gtest/gtest.h>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"

namespace corvalin {
namespace {

const char kResultsPage[] =
    "<html><body><h1>成绩</h1>"
    "<table id=results border=1><thead><tr><th>名次</th><th>选手</th><th>成绩</th></tr></thead><tbody>"
    "<tr><td>1</td><td><a href=/p/1><b>张三</b></a></td><td><span class=score>98</span> 分</td></tr>"
    "<tr><td>2</td><td><a href=/p/2>李四</a></td><td>95 分</td></tr>"
    "</tbody></table>"
    "<table id=total><tr><td>共2人</td></tr></table></body></html>";

class TablesTest : public testing::HostedPageTest {};

TEST_F(TablesTest, CountsTablesRowsAndCells) {
    Show(kResultsPage);
    EXPECT_EQ(automation.CountTables(), 2);
    EXPECT_EQ(automation.CountTableRows(1), 3);
    EXPECT_EQ(automation.CountTableRows(2), 1);
    EXPECT_EQ(automation.CountRowCells(1, 2), 3);
    EXPECT_EQ(automation.CountTableCells(1), 9);
    EXPECT_EQ(automation.CountTableCells(2), 1);
    EXPECT_EQ(automation.TableOperation(0), "2");
    EXPECT_EQ(automation.TableOperation(4, 1), "3");
    // Missing tables and rows count as nothing.
    EXPECT_EQ(automation.CountTableRows(3), 0);
    EXPECT_EQ(automation.CountRowCells(1, 4), 0);
    EXPECT_EQ(automation.CountTableCells(0), 0);
}

TEST_F(TablesTest, CellsReadAsTextOrMarkup) {
    Show(kResultsPage);
    EXPECT_EQ(automation.GetCellText(1, 1, 2), "选手");
    EXPECT_EQ(automation.GetCellText(1, 2, 2), "张三");
    EXPECT_EQ(automation.GetCellText(1, 2, 3), "98 分");
    const std::string html = automation.GetCellHtml(1, 2, 2);
    EXPECT_EQ(html.find("<TD>"), 0u) << html;
    EXPECT_NE(html.find("<B>张三</B>"), std::string::npos) << html;
    EXPECT_EQ(automation.GetTableText(2), "共2人");
    EXPECT_EQ(automation.GetTableHtml(2).find("<TABLE id=total>"), 0u) << automation.GetTableHtml(2);
    EXPECT_NE(automation.GetTableText(1).find("李四"), std::string::npos);
    // A cell, row or table that is not there reads as nothing.
    EXPECT_EQ(automation.GetCellText(1, 2, 4), "");
    EXPECT_EQ(automation.GetCellText(1, 4, 1), "");
    EXPECT_EQ(automation.GetCellText(3, 1, 1), "");
    EXPECT_EQ(automation.GetCellHtml(1, 0, 1), "");
    EXPECT_EQ(automation.GetTableHtml(3), "");
    EXPECT_EQ(automation.TableOperation(9, 1, 1, 1), "0");
}

TEST_F(TablesTest, SetCellTextWritesPlainTextAndAnswersTrueOrFalse) {
    Show(kResultsPage);
    EXPECT_EQ(automation.SetCellText(1, 3, 3, "<i>100</i> 分"), "真");
    EXPECT_EQ(automation.GetCellText(1, 3, 3), "<i>100</i> 分");
    EXPECT_EQ(page.Evaluate("document.getElementById('results').rows[2].cells[2].children.length"), "0");
    EXPECT_EQ(automation.SetCellText(1, 4, 1, "x"), "假");
    EXPECT_EQ(automation.SetCellText(3, 1, 1, "x"), "假");
    EXPECT_EQ(automation.CountTableCells(1), 9);
}

TEST_F(TablesTest, APageWithoutTablesHasNone) {
    Show("<html><body><div>没有表格</div><form><input name=q></form></body></html>");
    EXPECT_EQ(automation.CountTables(), 0);
    EXPECT_EQ(automation.GetTableText(1), "");
    EXPECT_EQ(automation.GetCellText(1, 1, 1), "");
    EXPECT_EQ(automation.CountTableRows(1), 0);
}

}  // namespace
}  // namespace corvalin
