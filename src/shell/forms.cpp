#include "shell/forms.h"

#include "shell/build_settings.h"
#include "shell/form_ids.h"

namespace corvalin::shell {
namespace {

constexpr COLORREF kEditTextColor = RGB(255, 0, 0);
constexpr COLORREF kCaptionColor = RGB(0, 255, 255);

ControlForm Timer(ControlId id, const char* name, int left, int top, int size, const char* handler) {
    ControlForm c;
    c.id = id;
    c.name = name;
    c.kind = kKindTimer;
    c.left = left;
    c.top = top;
    c.width = c.height = size;
    c.visible = false;
    c.events = {{kEventTick, handler}};
    return c;
}

ControlForm Label(ControlId id, const char* name, int left, int top, int width, int height, std::string text,
                  COLORREF color, int alignment, bool wordWrap) {
    ControlForm c;
    c.id = id;
    c.name = name;
    c.kind = kKindTransparentLabel;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.text = std::move(text);
    c.textColor = color;
    c.alignment = alignment;
    c.verticalAlignment = wordWrap ? 0 : 1;
    c.wordWrap = wordWrap;
    return c;
}

ControlForm Button(ControlId id, const char* name, int left, int top, int width, int height, const char* caption,
                   const char* handler) {
    ControlForm c;
    c.id = id;
    c.name = name;
    c.kind = kKindButton;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.text = caption;
    c.events = {{kEventClick, handler}};
    return c;
}

ControlForm Edit(ControlId id, const char* name, int left, int top, int maxLength, InputMode mode,
                 std::vector<EventBinding> events) {
    ControlForm c;
    c.id = id;
    c.name = name;
    c.kind = kKindEditBox;
    c.left = left;
    c.top = top;
    c.width = 152;
    c.height = 24;
    c.maxLength = maxLength;
    c.inputMode = mode;
    c.passwordChar = mode == InputMode::Password ? '*' : 0;
    c.textColor = kEditTextColor;
    c.backColor = RGB(255, 255, 255);
    c.events = std::move(events);
    return c;
}

WindowForm MakeMainWindow() {
    WindowForm w;
    w.windowId = kMainWindowId;
    w.unitId = kMainWindowUnitId;
    w.caption = "Corvalin";
    w.width = 377;
    w.height = 218;
    w.minimizeBox = true;
    w.events = {{kEventCreated, "OnMainCreated"}, {kEventMayClose, "OnMainMayClose"}};

    ControlForm browser;
    browser.id = kBrowserBoxId;
    browser.name = "超文本浏览框1";
    browser.kind = kKindBrowserBox;
    browser.left = 520;
    browser.top = 120;
    browser.width = 40;
    browser.height = 40;
    browser.visible = false;
    browser.text = std::string(build::kServiceUrl) + "/";

    ControlForm picture;
    picture.id = kCaptchaPictureId;
    picture.name = "图片框1";
    picture.kind = kKindPictureBox;
    picture.left = 240;
    picture.top = 136;
    picture.width = 130;
    picture.height = 53;
    picture.backColor = GetSysColor(COLOR_BTNFACE);
    picture.events = {{kEventLeftButtonDown, "OnCaptchaPictureClick"}};

    w.controls = {
        Timer(kCaptchaWatchTimerId, "时钟2", 344, 64, 16, "OnCaptchaWatch"),
        Timer(kStatusPollTimerId, "时钟1", 368, 56, 24, "OnStatusPoll"),
        browser,
        Label(kStatusLabelId, "透明标签6", 24, 197, 352, 16, "状态：软件正在初始化.......", RGB(255, 128, 192), 0, false),
        Label(kCreditLabelId, "透明标签5", 240, 88, 152, 40,
              std::string("软件作者：Tessaly\r\n\r\nQQ：") + build::kAuthorQq, RGB(255, 255, 0), 1, true),
        Button(kOfflineButtonId, "按钮3", 156, 160, 80, 32, "我要下线", "SubmitOffline"),
        Button(kContactButtonId, "按钮2", 289, 160, 80, 32, "联系作者", "ContactAuthor"),
        Button(kStartButtonId, "按钮1", 31, 160, 80, 32, "开始挂机", "SubmitStart"),
        picture,
        Edit(kCaptchaEditId, "编辑框3", 78, 154, 16, InputMode::Normal,
             {{kEventKeyDown, "OnCaptchaKey"}, {kEventGotFocus, "OnCaptchaBoxFocus"}}),
        Label(kCaptchaCaptionId, "透明标签4", 24, 155, 48, 24, "验证码：", kCaptionColor, 0, false),
        Edit(kPasswordEditId, "编辑框2", 79, 120, 16, InputMode::Password, {{kEventKeyDown, "OnPasswordKey"}}),
        Edit(kAccountEditId, "编辑框1", 79, 87, 11, InputMode::Integer, {{kEventKeyDown, "OnAccountKey"}}),
        Label(kPasswordCaptionId, "透明标签3", 24, 120, 48, 24, "QQ密码：", kCaptionColor, 0, false),
        Label(kAccountCaptionId, "透明标签2", 24, 88, 48, 24, "QQ帐号：", kCaptionColor, 0, false),
        Label(kNoticeLabelId, "透明标签1", 24, 25, 336, 47,
              "每天的成长活跃值增加1.5天。可自行查看。。。\r\n"
              "目前最长在线7天，7天后需要重新提交！\r\n"
              "停止挂机一定要下线否则会挤下线！",
              RGB(0, 255, 0), 1, true),
    };
    return w;
}

WindowForm MakeExitConfirmWindow() {
    WindowForm w;
    w.windowId = kExitConfirmWindowId;
    w.unitId = kExitConfirmUnitId;
    w.caption = "友情提示：";
    w.width = 144;
    w.height = 76;
    w.events = {{kEventCreated, "OnExitConfirmCreated"}};

    ControlForm label;
    label.id = kHotKeyLabelId;
    label.name = "标签1";
    label.kind = kKindLabel;
    label.left = 56;
    label.top = 16;
    label.width = 24;
    label.height = 8;
    label.visible = false;
    label.events = {{kEventFeedback, "OnHotKeyFeedback"}};

    w.controls = {
        label,
        Button(kNoButtonId, "按钮2", 88, 48, 40, 18, "否(N)", "CancelExit"),
        Button(kYesButtonId, "按钮1", 16, 48, 40, 18, "是(Y)", "ConfirmExit"),
        Label(kQuestionLabelId, "透明标签1", 11, 26, 144, 16, "您真的要退出么？", RGB(0, 224, 128), 0, false),
    };
    return w;
}

}  // namespace

const WindowForm* FindForm(ControlId windowId) {
    static const WindowForm mainWindow = MakeMainWindow();
    static const WindowForm exitConfirm = MakeExitConfirmWindow();
    if (windowId == kMainWindowId) return &mainWindow;
    if (windowId == kExitConfirmWindowId) return &exitConfirm;
    return nullptr;
}

const std::string* BoundHandler(const std::vector<EventBinding>& events, EventNumber event) {
    for (const EventBinding& binding : events) {
        if (binding.event == event) return &binding.handler;
    }
    return nullptr;
}

}  // namespace corvalin::shell
