// The program's handle on the page shown in the browser box. It finds the
// browser's rendering window by class name, asks it for its document, and
// reaches everything else through late-bound calls by member name, so it
// works with any engine that presents itself the way Internet Explorer does.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "automation/automation_object.h"
#include "base/text.h"

namespace corvalin {

class PageAutomation {
public:
    // Initialises COM for the calling thread; nothing is attached.
    PageAutomation();
    // Releases the document, then ends the COM initialisation made above.
    ~PageAutomation();
    // The same host window and a reference of its own to the same document.
    PageAutomation(const PageAutomation& other);
    PageAutomation& operator=(const PageAutomation&) = delete;

    // --- attaching ---
    // True when a document is held afterwards; false, changing nothing, for
    // a window that does not exist.
    bool AttachBrowser(HWND window);
    // A new reference to the held document (empty when none).
    AutomationObject GetDocument() const;
    void Detach();
    // First descendant of class "Internet Explorer_Server" in depth-first
    // order, or 0. Dispatches pending messages after each sibling step.
    HWND FindBrowserServerWindow(HWND parent) const;
    // Asks the rendering window in (or at) `window` for its document; on
    // success the reference replaces the one `target` held.
    bool DocumentFromWindow(HWND window, AutomationObject& target) const;

    // --- element lookup ---
    // The key finders. `typeList` is a "|"-separated list of input types
    // searched as a whole; `ordinal` is counted on from the caller's start
    // value and ends as the found element's 1-based ordinal among the
    // candidates, or -1. The result is a new reference, empty when none.
    AutomationObject FindInputElement(std::string_view typeList, std::string_view key, int skip, int& ordinal) const;
    // Image inputs of the listed types, then every img when "image" is listed;
    // the `src` matches when it contains the key.
    AutomationObject FindImageElement(std::string_view typeList, std::string_view key, int skip, int& ordinal) const;
    AutomationObject FindDivElement(std::string_view key, int skip, int& ordinal) const;
    AutomationObject FindSpanElement(std::string_view key, int skip, int& ordinal) const;
    AutomationObject FindListItemElement(std::string_view key, int skip, int& ordinal) const;
    AutomationObject FindTextAreaElement(std::string_view key, int skip, int& ordinal) const;
    AutomationObject FindLinkElement(std::string_view key, int skip, int& ordinal) const;
    AutomationObject FindCiteElement(std::string_view key, int skip, int& ordinal) const;

    // Raises `eventName` on `element` with its current handler; the result of
    // the element's FireEvent.
    bool FireElementEvent(const AutomationObject& element, std::string_view eventName) const;
    // The element under (x, y) in screen coordinates (the pointer when both
    // are 0) of the rendering window under the mouse pointer, whatever the
    // attached document; empty, the out texts untouched, when the pointer is
    // over any other window.
    AutomationObject ElementAtPoint(int x = 0, int y = 0, std::string* url = nullptr, std::string* tagName = nullptr,
                                    std::string* innerText = nullptr, std::string* name = nullptr,
                                    std::string* ID = nullptr, std::string* href = nullptr,
                                    std::string* outerHTML = nullptr) const;

    // --- the element families ---
    // Each member finds one element with the family's finder, acts on it and
    // releases it. Info operations look the element up by `ordinal` (as a
    // decimal key, so an element named like the number wins), fill the out
    // texts the caller supplies and always store the finder's result in
    // `element`. Check, uncheck, click and focus report that an element was
    // found; set hidden reports the write of the inline display.

    // text inputs
    AutomationObject FindTextInput(std::string_view key, int skip = 0) const;
    std::string GetTextInputValue(std::string_view key, int skip = 0) const;
    int TextInputOrdinal(std::string_view key) const;
    bool GetTextInputInfo(int ordinal, std::string* value = nullptr, std::string* name = nullptr,
                          std::string* id = nullptr, std::string* type = nullptr,
                          AutomationObject* element = nullptr) const;
    bool SetTextInputValue(std::string_view key, std::string_view value, int skip = 0) const;
    bool FocusTextInput(std::string_view key, int skip = 0) const;

    // multi-line text boxes
    AutomationObject FindTextArea(std::string_view key, int skip = 0) const;
    bool FocusTextArea(std::string_view key, int skip = 0) const;
    bool SetTextAreaHidden(std::string_view key, int skip = 0, bool hidden = true) const;
    std::string GetTextAreaValue(std::string_view key, int skip = 0) const;
    int TextAreaOrdinal(std::string_view key, int skip = 0) const;
    bool GetTextAreaInfo(int ordinal, std::string* value = nullptr, std::string* name = nullptr,
                         std::string* id = nullptr, AutomationObject* element = nullptr) const;
    bool SetTextAreaValue(std::string_view key, std::string_view value, int skip = 0) const;

    // radio buttons
    AutomationObject FindRadio(std::string_view key, int skip = 0) const;
    bool IsRadioChecked(std::string_view key, int skip = 0) const;
    int RadioOrdinal(std::string_view key, int skip = 0) const;
    bool GetRadioInfo(int ordinal, std::string* title = nullptr, std::string* name = nullptr,
                      std::string* id = nullptr, std::string* type = nullptr,
                      AutomationObject* element = nullptr) const;
    bool CheckRadio(std::string_view key, int skip = 0, bool fireMouseDown = false) const;
    bool UncheckRadio(std::string_view key, int skip = 0, bool fireMouseDown = false) const;
    bool FocusRadio(std::string_view key, int skip = 0) const;
    bool SetRadioHidden(std::string_view key, int skip = 0, bool hidden = true) const;

    // check boxes
    AutomationObject FindCheckBox(std::string_view key, int skip = 0) const;
    bool IsCheckBoxChecked(std::string_view key, int skip = 0) const;
    int CheckBoxOrdinal(std::string_view key, int skip = 0) const;
    bool GetCheckBoxInfo(int ordinal, std::string* title = nullptr, std::string* name = nullptr,
                         std::string* id = nullptr, std::string* type = nullptr,
                         AutomationObject* element = nullptr) const;
    bool CheckCheckBox(std::string_view key, int skip = 0, bool fireMouseDown = false) const;
    bool UncheckCheckBox(std::string_view key, int skip = 0, bool fireMouseDown = false) const;
    bool FocusCheckBox(std::string_view key, int skip = 0) const;
    bool SetCheckBoxHidden(std::string_view key, int skip = 0, bool hidden = true) const;

    // buttons; the caption is the visible text of a button element, the
    // title of an input
    AutomationObject FindButton(std::string_view key, int skip = 0) const;
    bool GetButtonInfo(int ordinal, std::string* caption = nullptr, std::string* name = nullptr,
                       std::string* id = nullptr, std::string* type = nullptr,
                       AutomationObject* element = nullptr) const;
    int ButtonOrdinal(std::string_view key) const;
    bool FocusButton(std::string_view key, int skip = 0) const;
    bool SetButtonHidden(std::string_view key, int skip = 0, bool hidden = true) const;
    // True when a button was found (the click was sent to it).
    bool ClickButton(std::string_view key, int skip = 0) const;

    // cite buttons
    AutomationObject FindCiteButton(std::string_view key, int skip = 0) const;
    bool GetCiteButtonInfo(int ordinal, std::string* innerText = nullptr, std::string* name = nullptr,
                           std::string* id = nullptr, AutomationObject* element = nullptr) const;
    int CiteButtonOrdinal(std::string_view key, int skip = 0) const;
    bool ClickCiteButton(std::string_view key, int skip = 0) const;
    std::string GetCiteButtonHtml(std::string_view key, int skip = 0) const;
    bool FocusCiteButton(std::string_view key, int skip = 0) const;
    bool SetCiteButtonHidden(std::string_view key, int skip = 0, bool hidden = true) const;

    // image buttons
    AutomationObject FindImageButton(std::string_view key, int skip = 0) const;
    bool GetImageButtonInfo(int ordinal, std::string* title = nullptr, std::string* name = nullptr,
                            std::string* id = nullptr, std::string* type = nullptr,
                            AutomationObject* element = nullptr) const;
    int ImageButtonOrdinal(std::string_view key, int skip = 0) const;
    bool ClickImageButton(std::string_view key, int skip = 0) const;
    std::string GetImageButtonHtml(std::string_view key, int skip = 0) const;
    bool FocusImageButton(std::string_view key, int skip = 0) const;

    // links; `clearTarget` empties the link's target first, so it opens in
    // the same window
    AutomationObject FindLink(std::string_view key, int skip = 0) const;
    bool GetLinkInfo(int ordinal, std::string* innerText = nullptr, std::string* href = nullptr,
                     std::string* id = nullptr, std::string* name = nullptr,
                     AutomationObject* element = nullptr) const;
    int LinkOrdinal(std::string_view key, int skip = 0) const;
    bool ClickLink(std::string_view key, int skip = 0, bool clearTarget = false) const;
    std::string GetLinkHtml(std::string_view key, int skip = 0) const;
    std::string GetLinkText(std::string_view key, int skip = 0) const;
    bool FocusLink(std::string_view key, int skip = 0) const;
    bool SetLinkHidden(std::string_view key, int skip = 0, bool hidden = true) const;

    // images (image inputs, then img elements)
    bool ClickImage(std::string_view key, int skip = 0) const;
    AutomationObject FindImage(std::string_view key, int skip = 0) const;
    bool GetImageInfo(int ordinal, std::string* src = nullptr, std::string* width = nullptr,
                      std::string* height = nullptr, std::string* title = nullptr, std::string* name = nullptr,
                      std::string* id = nullptr, AutomationObject* element = nullptr) const;
    int ImageOrdinal(std::string_view key, int skip = 0) const;
    bool SetImageHidden(std::string_view key, int skip = 0, bool hidden = true) const;

    // forms: the first whose name or id is `key`, or whose ordinal `key` reads as
    AutomationObject FindForm(std::string_view key, int& ordinal) const;

    // hidden fields
    AutomationObject FindHiddenField(std::string_view key, int skip = 0) const;
    std::string GetHiddenFieldValue(std::string_view key, int skip = 0) const;
    int HiddenFieldOrdinal(std::string_view key) const;
    bool GetHiddenFieldInfo(int ordinal, std::string* value = nullptr, std::string* name = nullptr,
                            std::string* id = nullptr, std::string* type = nullptr,
                            AutomationObject* element = nullptr) const;
    bool SetHiddenFieldValue(std::string_view key, std::string_view value, int skip = 0) const;

    // div blocks
    AutomationObject FindDiv(std::string_view key, int skip = 0) const;
    bool GetDivInfo(int ordinal, std::string* className = nullptr, std::string* title = nullptr,
                    std::string* id = nullptr, AutomationObject* element = nullptr) const;
    std::string GetDivInnerHtml(std::string_view key, int skip = 0) const;
    bool SetDivInnerHtml(std::string_view key, std::string_view html, int skip = 0) const;
    std::string GetDivHtml(std::string_view key, int skip = 0) const;
    int DivOrdinal(std::string_view key, int skip = 0) const;
    bool ClickDiv(std::string_view key, int skip = 0) const;
    bool SetDivHidden(std::string_view key, int skip = 0, bool hidden = true) const;

    // list items
    int ListItemOrdinal(std::string_view key, int skip = 0) const;
    bool ClickListItem(std::string_view key, int skip = 0) const;
    std::string GetListItemHtml(std::string_view key, int skip = 0) const;

    // spans
    AutomationObject FindSpan(std::string_view key, int skip = 0) const;
    bool ClickSpan(std::string_view key, int skip = 0) const;
    int SpanOrdinal(std::string_view key, int skip = 0) const;
    bool GetSpanInfo(int ordinal, std::string* title = nullptr, std::string* className = nullptr,
                     std::string* innerText = nullptr, std::string* id = nullptr,
                     AutomationObject* element = nullptr) const;
    // The span's markup as the browser serialises it, not its plain text.
    std::string GetSpanInnerHtml(std::string_view key, int skip = 0) const;
    std::string GetSpanHtml(std::string_view key, int skip = 0) const;
    bool SetSpanInnerHtml(std::string_view key, std::string_view html, int skip = 0) const;
    bool SetSpanHidden(std::string_view key, int skip = 0, bool hidden = true) const;

    // --- rendering windows ---
    // Appends every descendant of class "Internet Explorer_Server" to `list`;
    // true when `list` is not empty afterwards.
    bool ListBrowserServerWindows(HWND parent, std::vector<HWND>& list) const;

    // Every element with the tag anywhere in the document (head included).
    AutomationObject GetElementsByTagName(std::string_view tagName) const;

    // --- select boxes, tables and forms ---
    // Select box `selectNo` (1-based among every select of the document,
    // head included), option `optionNo` inside it. Action codes:
    // 0 option count, 1 read an option's text, 2 write it, 3 read an
    // option's value, 4 write it, 5 selected index (0-based), 6 select option
    // `optionNo`, 7 select the first option whose text is `searchText`,
    // 10 every box: when `mark`, select its first option and rename that
    // option "组合框<n>". Selecting pumps messages once, waits 10 ms, writes
    // `selectedIndex` and raises the box's onchange; its result is the
    // write's. Answers 0 for a box or option that does not exist and for an
    // unknown code; out values are written only for the box acted on, except
    // `selectCount` (boxes seen) and `selectElement` (the last box seen).
    int SelectBoxOperation(int selectNo = 0, int action = 0, int optionNo = 0, int* optionCount = nullptr,
                           std::string* optionText = nullptr, std::string_view newText = {},
                           std::string* optionValue = nullptr, std::string_view newValue = {},
                           int* selectCount = nullptr, bool mark = false, int* selectedIndex = nullptr,
                           std::string_view searchText = {}, AutomationObject* selectElement = nullptr) const;
    // Appends one entry per select box to each list (not cleared first);
    // `mark` marks every box as action 10 does. The number of boxes.
    int ListSelectBoxes(std::vector<int>& optionCounts, std::vector<std::string>& types,
                        std::vector<std::string>& names, std::vector<std::string>& ids,
                        std::vector<std::string>& outerHtmls, bool mark = false) const;
    int CountSelectBoxes(bool mark = false) const;
    int GetOptionCount(int selectNo) const;
    std::string GetOptionText(int selectNo, int optionNo) const;
    bool SetOptionText(int selectNo, int optionNo, std::string_view text) const;
    std::string GetOptionValue(int selectNo, int optionNo) const;
    bool SetOptionValue(int selectNo, int optionNo, std::string_view value) const;
    // 0-based as the browser counts; -1 when there is no such box.
    int GetSelectedIndex(int selectNo) const;
    bool SelectOption(int selectNo, int optionNo) const;
    // False, changing nothing, when no option has exactly this text.
    bool SelectOptionByText(int selectNo, std::string_view text) const;
    // False, doing nothing, when there is no such box.
    bool FocusSelectBox(int selectNo) const;
    bool SetSelectBoxHidden(int selectNo, bool hidden = true) const;

    // Tables of the body by 1-based ordinal, rows of a table, cells of a row.
    // Codes: 0 table count, 1 a table's outer text, 2 its outer HTML, 3 its
    // cell count, 4 its row count, 5 a row's cell count, 6 a cell's outer
    // text, 7 its outer HTML, 8 write `newText` as the cell's text ("真" when
    // written, "假" when not); any other code "0". Counts are decimal text;
    // a missing table, row or cell reads as empty text or "0".
    std::string TableOperation(int action, int tableNo = 0, int rowNo = 0, int cellNo = 0,
                               std::string_view newText = {}) const;
    int CountTables() const;
    std::string GetTableText(int tableNo) const;
    std::string GetTableHtml(int tableNo) const;
    int CountTableRows(int tableNo) const;
    int CountRowCells(int tableNo, int rowNo) const;
    std::string GetCellText(int tableNo, int rowNo, int cellNo) const;
    std::string SetCellText(int tableNo, int rowNo, int cellNo, std::string_view text) const;
    std::string GetCellHtml(int tableNo, int rowNo, int cellNo) const;
    int CountTableCells(int tableNo) const;

    // Forms by FindForm's key (name, id, or ordinal).
    // True when the form was found; its submit() was called.
    bool SubmitForm(std::string_view key) const;
    int FormOrdinal(std::string_view key) const;
    std::string GetFormHtml(std::string_view key) const;
    int CountForms() const;
    bool GetFormInfo(std::string_view key, std::string* method = nullptr, std::string* action = nullptr) const;

    // --- counting, marking and page inventories ---
    // Each count returns the number of the family's candidates. With `mark`,
    // every candidate gets a visible label: the family's text and its
    // 1-based ordinal, written into a property or inserted as markup, so the
    // live page changes. Lists are appended to, never cleared.

    // The page inventory: `kind` picks what is collected from the elements
    // of each tag in `tagList` whose classification occurs in `typeList` (both
    // "|"-separated). The number of entries of `kinds` afterwards (of
    // `innerTexts` for list items and spans), counting earlier entries.
    int CollectPageElements(int kind, std::string_view tagList, std::string_view typeList,
                            std::vector<std::string>& innerTexts, std::vector<std::string>& values,
                            std::vector<std::string>& names, std::vector<std::string>& ids,
                            std::vector<std::string>& kinds, std::vector<std::string>& hrefs,
                            std::vector<std::string>& srcs, std::vector<std::string>& sizesA,
                            std::vector<std::string>& sizesB, std::vector<std::string>& checkedStates,
                            std::vector<std::string>& outerHtmls, bool mark, std::vector<std::string>& titles,
                            std::vector<std::string>& titledHrefs, std::vector<AutomationObject>& elements) const;
    // Inputs of the listed types; the red "[复n]" after each, in its outer markup.
    int CountMarkedChoiceInputs(std::string_view typeList, bool mark) const;
    // Inputs of the listed types, then button elements when "button" is
    // listed; the label goes into an input's value, a button's visible text.
    int CountLabelledInputs(std::string_view typeList, std::string_view label, bool mark) const;
    // Image inputs of the listed types, then every img when "image" is listed;
    // the label goes into the title, and `listing` appends each one's src,
    // width, height, name, id and title (read after the label).
    int CollectImageElements(std::string_view typeList, std::string_view label, bool mark, bool listing,
                             std::vector<std::string>& srcs, std::vector<std::string>& widths,
                             std::vector<std::string>& heights, std::vector<std::string>& names,
                             std::vector<std::string>& ids, std::vector<std::string>& titles) const;
    // Divs, spans, list items, text areas and cites: the red label is
    // inserted at the start of the content, again on every marking call.
    int CountMarkedDivs(bool mark) const;
    int CountMarkedSpans(bool mark) const;
    int CountMarkedListItems(bool mark) const;
    int CountMarkedTextAreas(bool mark) const;
    // Every link; `listing` appends href, visible text, name and id and marks
    // nothing, otherwise `mark` appends the red label to each link's content.
    // The length of the page's link collection.
    int CollectLinks(std::string_view label, bool mark, bool listing, std::vector<std::string>& hrefs,
                     std::vector<std::string>& innerTexts, std::vector<std::string>& names,
                     std::vector<std::string>& ids) const;
    int CountMarkedCites(bool mark) const;
    // Marks text inputs, text areas, radios, check boxes, buttons, select
    // boxes, cite buttons and image buttons, in that order; the count of the
    // last of them.
    int MarkAllFields() const;

    // The family counts.
    int CountTextInputs(bool mark = false) const;
    int CountTextAreas(bool mark = false) const;
    int CountRadios(bool mark = false) const;
    int CountCheckBoxes(bool mark = false) const;
    int CountButtons(bool mark = false) const;
    int CountCiteButtons(bool mark = false) const;
    int CountImageButtons(bool mark = false) const;
    int CountLinks(bool mark = false) const;
    int CountImages(bool mark = false) const;
    int CountHiddenFields() const;
    int CountDivs(bool mark = false) const;
    int CountListItems(bool mark = false) const;
    int CountSpans(bool mark = false) const;
    // Inventories of every link and every image (image inputs first); the
    // number listed, nothing marked.
    int ListLinks(std::vector<std::string>& innerTexts, std::vector<std::string>& hrefs,
                  std::vector<std::string>& names, std::vector<std::string>& ids) const;
    int ListImages(std::vector<std::string>& srcs, std::vector<std::string>& widths,
                   std::vector<std::string>& heights, std::vector<std::string>& names,
                   std::vector<std::string>& ids, std::vector<std::string>& titles) const;

    // --- document-level operations ---
    // All of them work on the attached document and answer an empty text, 0
    // or false when there is none.

    // Documents of the page: this one, its frames and theirs, four levels
    // deep (the fourth counted by its frames' length, not opened).
    int CountDocuments() const;
    // An address whose first four letters are not "http" in any case gets
    // "http://" in front (in the caller's variable too) before the page's
    // window navigates to it.
    void NavigateTo(std::string& url) const;
    // Writes percent / 100 to the body's zoom; answers `percent`.
    int SetZoom(int percent) const;
    std::string GetPageText() const;
    std::string GetPageHtml() const;
    std::string GetTitle() const;
    // Language 0 runs the code as JavaScript, 1 as VBScript; any other does nothing.
    void RunScript(std::string_view code, int language = 0) const;
    // Puts back selection, dragging and the context menu a page took away.
    void EnableSelectionAndContextMenu() const;
    // The element's left (top) edge in page coordinates: its offsets summed
    // up the offsetParent chain.
    int GetElementLeft(const AutomationObject& element) const;
    int GetElementTop(const AutomationObject& element) const;
    std::string GetDocumentProperty(std::string_view name) const;
    bool SetDocumentProperty(std::string_view name, std::string_view value) const;
    std::string GetDomain() const;
    std::string GetLocation() const;
    std::string GetCharset() const;
    // The selected text (its markup when `asHtml` is 1 or more); empty
    // without a selection.
    std::string GetSelection(int asHtml = 0) const;
    // Declares page functions alert, confirm, prompt and showModalDialog that
    // do nothing, so the page's own calls show no dialog.
    void SuppressDialogs() const;
    std::string GetFileSize() const;
    void HideScrollBars() const;
    // Axis 0 scrolls down by `amount`, axis 1 right; other axes do nothing.
    void ScrollBy(int amount, int axis = 0) const;
    void ScrollTo(int left, int top) const;
    // Answers the left scroll position.
    int GetScrollPosition(int* left = nullptr, int* top = nullptr) const;
    // Answers the scroll width.
    int GetScrollSize(int* height = nullptr, int* width = nullptr) const;
    void PasteHtmlAtSelection(std::string_view html) const;
    void WriteHtml(std::string_view html) const;
    // Wraps every occurrence of `text` in a font element (a B element when
    // `bold`) coloured `color` on `background`; empty colours become
    // "ff0000" and "D6F20D", written back.
    void HighlightText(std::string_view text, std::string& color, std::string& background, bool bold = false) const;
    std::string GetElementInnerHtml(const AutomationObject& element) const;
    // Opens the document afresh, writes `html` and closes it.
    void ReplaceDocument(std::string_view html) const;
    std::string GetElementInnerText(const AutomationObject& element) const;
    bool SetElementInnerHtml(const AutomationObject& element, std::string_view html) const;
    bool SetElementInnerText(const AutomationObject& element, std::string_view text) const;
    bool SetElementOuterHtml(const AutomationObject& element, std::string_view html) const;
    bool SetElementOuterText(const AutomationObject& element, std::string_view text) const;
    std::string GetElementOuterHtml(const AutomationObject& element) const;
    std::string GetElementOuterText(const AutomationObject& element) const;
    // Every 300 ms, dispatching messages meanwhile, looks for `text` in the
    // page's text: of `document` when one is given, else of the page in
    // `window` (attached again at every look). False once `timeout` ms passed.
    bool WaitForPageText(HWND window, std::string_view text, int timeout = 5000,
                         const AutomationObject& document = {});
    // The same in the page's markup.
    bool WaitForPageHtml(HWND window, std::string_view text, int timeout = 5000,
                         const AutomationObject& document = {});

    // --- image capture and file upload ---
    // The picture of the image `key` names (as FindImage), copied through the
    // browser's copy command: format 0 the plain 24-bit picture file, 1 to 5
    // re-encoded as BMP, JPEG, GIF, TIFF or PNG. Empty on failure. The
    // clipboard's text is put back afterwards.
    Bytes CopyImage(std::string_view key, int format = 0) const;
    // The clipboard's bitmap as a 24-bit picture file (a 54-byte header, then
    // the rows bottom-up); empty when there is none. Empties the clipboard.
    Bytes ClipboardImageBytes() const;
    // Re-encodes a picture with GDI+ (formats as CopyImage); also writes the
    // result to `path` when it is not blank. False, `out` untouched, when
    // the picture cannot be decoded or the format has no encoder.
    bool ConvertImage(const Bytes& image, int format, std::string_view path, Bytes& out) const;
    // The text in UTF-16LE, with its two-byte terminator unless dropped;
    // empty for an empty text.
    Bytes TextToUtf16Bytes(std::string_view text, bool dropTerminator = false) const;
    // Puts `path` into the file input `key` names (as FindTextInput): the
    // open-file dialog answers with the path, without a window, for the
    // length of one click.
    void SetUploadFile(std::string_view key, std::string_view path, int skip = 0) const;

    // popups, browser setting and helpers
    // A popup of the page's window showing `html` on the colours given, at
    // (x, y) on the screen or from the anchor element's top left. Empty when
    // no popup could be made.
    AutomationObject ShowPopup(int x, int y, int width, int height, std::string_view html,
                               int backgroundColor = 16777215, int borderWidth = 1, int borderColor = 12632256,
                               const AutomationObject& anchor = {}) const;
    void HidePopup(const AutomationObject& popup) const;
    // Writes the browser's warning on a redirect from a secure page to a
    // plain one, for the user and for the machine; refusals are ignored.
    void SetRedirectWarning(int value) const;
    // A Windows colour (red in the low byte) as six upper-case hex digits,
    // red first, without "#".
    std::string ColorToHex(int color) const;
    // Waits `amount` milliseconds (unit 0), seconds (1), minutes (2) or hours
    // (3) while the thread's messages are dispatched. Always true.
    bool Delay(int amount, int unit = 0) const;

    HWND hostWindow() const { return hostWindow_; }

private:
    AutomationObject document_;
    HWND hostWindow_ = nullptr;
    bool comInitialised_ = false;
};

// The one page-automation object, from start-up to exit.
extern std::unique_ptr<PageAutomation> ThePageAutomation;

}  // namespace corvalin
