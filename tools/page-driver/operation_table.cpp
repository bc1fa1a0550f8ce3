// One row per PageAutomation operation, in the header's order. A new
// operation is one more row here; the driver's tests fail while a public
// operation of the header has none.
#include "operation_table.h"

#include "operation_binding.h"

namespace corvalin::page_driver {

const std::vector<OperationBinding>& OperationTable() {
    static const std::vector<OperationBinding> table{
        PAGE_DRIVER_OPERATION(AttachBrowser),
        PAGE_DRIVER_OPERATION(GetDocument),
        PAGE_DRIVER_OPERATION(Detach),
        PAGE_DRIVER_OPERATION(FindBrowserServerWindow),
        PAGE_DRIVER_OPERATION(DocumentFromWindow),
        PAGE_DRIVER_OPERATION(FindInputElement),
        PAGE_DRIVER_OPERATION(FindImageElement),
        PAGE_DRIVER_OPERATION(FindDivElement),
        PAGE_DRIVER_OPERATION(FindSpanElement),
        PAGE_DRIVER_OPERATION(FindListItemElement),
        PAGE_DRIVER_OPERATION(FindTextAreaElement),
        PAGE_DRIVER_OPERATION(FindLinkElement),
        PAGE_DRIVER_OPERATION(FindCiteElement),
        PAGE_DRIVER_OPERATION(FireElementEvent),
        PAGE_DRIVER_OPERATION(ElementAtPoint),
        PAGE_DRIVER_OPERATION(FindTextInput),
        PAGE_DRIVER_OPERATION(GetTextInputValue),
        PAGE_DRIVER_OPERATION(TextInputOrdinal),
        PAGE_DRIVER_OPERATION(GetTextInputInfo),
        PAGE_DRIVER_OPERATION(SetTextInputValue),
        PAGE_DRIVER_OPERATION(FocusTextInput),
        PAGE_DRIVER_OPERATION(FindTextArea),
        PAGE_DRIVER_OPERATION(FocusTextArea),
        PAGE_DRIVER_OPERATION(SetTextAreaHidden),
        PAGE_DRIVER_OPERATION(GetTextAreaValue),
        PAGE_DRIVER_OPERATION(TextAreaOrdinal),
        PAGE_DRIVER_OPERATION(GetTextAreaInfo),
        PAGE_DRIVER_OPERATION(SetTextAreaValue),
        PAGE_DRIVER_OPERATION(FindRadio),
        PAGE_DRIVER_OPERATION(IsRadioChecked),
        PAGE_DRIVER_OPERATION(RadioOrdinal),
        PAGE_DRIVER_OPERATION(GetRadioInfo),
        PAGE_DRIVER_OPERATION(CheckRadio),
        PAGE_DRIVER_OPERATION(UncheckRadio),
        PAGE_DRIVER_OPERATION(FocusRadio),
        PAGE_DRIVER_OPERATION(SetRadioHidden),
        PAGE_DRIVER_OPERATION(FindCheckBox),
        PAGE_DRIVER_OPERATION(IsCheckBoxChecked),
        PAGE_DRIVER_OPERATION(CheckBoxOrdinal),
        PAGE_DRIVER_OPERATION(GetCheckBoxInfo),
        PAGE_DRIVER_OPERATION(CheckCheckBox),
        PAGE_DRIVER_OPERATION(UncheckCheckBox),
        PAGE_DRIVER_OPERATION(FocusCheckBox),
        PAGE_DRIVER_OPERATION(SetCheckBoxHidden),
        PAGE_DRIVER_OPERATION(FindButton),
        PAGE_DRIVER_OPERATION(GetButtonInfo),
        PAGE_DRIVER_OPERATION(ButtonOrdinal),
        PAGE_DRIVER_OPERATION(FocusButton),
        PAGE_DRIVER_OPERATION(SetButtonHidden),
        PAGE_DRIVER_OPERATION(ClickButton),
        PAGE_DRIVER_OPERATION(FindCiteButton),
        PAGE_DRIVER_OPERATION(GetCiteButtonInfo),
        PAGE_DRIVER_OPERATION(CiteButtonOrdinal),
        PAGE_DRIVER_OPERATION(ClickCiteButton),
        PAGE_DRIVER_OPERATION(GetCiteButtonHtml),
        PAGE_DRIVER_OPERATION(FocusCiteButton),
        PAGE_DRIVER_OPERATION(SetCiteButtonHidden),
        PAGE_DRIVER_OPERATION(FindImageButton),
        PAGE_DRIVER_OPERATION(GetImageButtonInfo),
        PAGE_DRIVER_OPERATION(ImageButtonOrdinal),
        PAGE_DRIVER_OPERATION(ClickImageButton),
        PAGE_DRIVER_OPERATION(GetImageButtonHtml),
        PAGE_DRIVER_OPERATION(FocusImageButton),
        PAGE_DRIVER_OPERATION(FindLink),
        PAGE_DRIVER_OPERATION(GetLinkInfo),
        PAGE_DRIVER_OPERATION(LinkOrdinal),
        PAGE_DRIVER_OPERATION(ClickLink),
        PAGE_DRIVER_OPERATION(GetLinkHtml),
        PAGE_DRIVER_OPERATION(GetLinkText),
        PAGE_DRIVER_OPERATION(FocusLink),
        PAGE_DRIVER_OPERATION(SetLinkHidden),
        PAGE_DRIVER_OPERATION(ClickImage),
        PAGE_DRIVER_OPERATION(FindImage),
        PAGE_DRIVER_OPERATION(GetImageInfo),
        PAGE_DRIVER_OPERATION(ImageOrdinal),
        PAGE_DRIVER_OPERATION(SetImageHidden),
        PAGE_DRIVER_OPERATION(FindForm),
        PAGE_DRIVER_OPERATION(FindHiddenField),
        PAGE_DRIVER_OPERATION(GetHiddenFieldValue),
        PAGE_DRIVER_OPERATION(HiddenFieldOrdinal),
        PAGE_DRIVER_OPERATION(GetHiddenFieldInfo),
        PAGE_DRIVER_OPERATION(SetHiddenFieldValue),
        PAGE_DRIVER_OPERATION(FindDiv),
        PAGE_DRIVER_OPERATION(GetDivInfo),
        PAGE_DRIVER_OPERATION(GetDivInnerHtml),
        PAGE_DRIVER_OPERATION(SetDivInnerHtml),
        PAGE_DRIVER_OPERATION(GetDivHtml),
        PAGE_DRIVER_OPERATION(DivOrdinal),
        PAGE_DRIVER_OPERATION(ClickDiv),
        PAGE_DRIVER_OPERATION(SetDivHidden),
        PAGE_DRIVER_OPERATION(ListItemOrdinal),
        PAGE_DRIVER_OPERATION(ClickListItem),
        PAGE_DRIVER_OPERATION(GetListItemHtml),
        PAGE_DRIVER_OPERATION(FindSpan),
        PAGE_DRIVER_OPERATION(ClickSpan),
        PAGE_DRIVER_OPERATION(SpanOrdinal),
        PAGE_DRIVER_OPERATION(GetSpanInfo),
        PAGE_DRIVER_OPERATION(GetSpanInnerHtml),
        PAGE_DRIVER_OPERATION(GetSpanHtml),
        PAGE_DRIVER_OPERATION(SetSpanInnerHtml),
        PAGE_DRIVER_OPERATION(SetSpanHidden),
        PAGE_DRIVER_OPERATION(ListBrowserServerWindows),
        PAGE_DRIVER_OPERATION(GetElementsByTagName),
        // select boxes, tables and forms

        // counting, marking and page inventories

        // document-level operations

        // image capture and file upload
        PAGE_DRIVER_OPERATION(CopyImage),
        PAGE_DRIVER_OPERATION(ClipboardImageBytes),
        PAGE_DRIVER_OPERATION(ConvertImage),
        PAGE_DRIVER_OPERATION(TextToUtf16Bytes),
        PAGE_DRIVER_OPERATION(SetUploadFile),
        PAGE_DRIVER_OPERATION(ShowPopup),
        PAGE_DRIVER_OPERATION(HidePopup),
        PAGE_DRIVER_OPERATION(SetRedirectWarning),
        PAGE_DRIVER_OPERATION(ColorToHex),
        PAGE_DRIVER_OPERATION(Delay),
    };
    return table;
}

const OperationBinding* FindOperation(std::string_view name) {
    for (const OperationBinding& binding : OperationTable()) {
        if (name == binding.name) return &binding;
    }
    return nullptr;
}

}  // namespace corvalin::page_driver
