#pragma once
// The host-module protocol, as both sides speak it: the memo module's component id and what it
// registers with, the codes of the calls in either direction, the private messages the host sends
// a panel, and the documents' element names, spelled exactly as the host and the module read and
// write them. Every code has 11000 (0x2AF8) in its high 16 bits and 11000 + n in its low 16 bits.
#include <QStringView>

namespace ModuleProtocol {

// The memo module: its answer to RegisterComID and the values of its registration document.
constexpr int MEMO_COMPONENT_ID = 17000;
constexpr int MEMO_TEAM_ID = 1;
constexpr QStringView MEMO_CAPTION = u"备忘录";
constexpr int MEMO_IMAGE_ID = 128;

constexpr int NTF_CREATE_PANEL = 0x2AF82AFA;    // host -> module (NtfCallBack): create your panel
constexpr int NTF_REGISTER_WINDOW = 0x2AF82AFB; // module -> host (ExecuteNtfCommand): "ZorvaRegWnd"
constexpr int CMD_STATUSBAR_TEXT = 0x2AF82AFE;  // module -> host (ExecuteCommand): "UpdataStatusBarText"
constexpr int NTF_UPDATE_DATA = 0x2AF82AFF;     // host -> module (NtfCallBack): the user, "UpdateData"
constexpr int CMD_UPDATE_DATA = 0x2AFF;         // host -> module (CmdCallBack): only the low 16 bits count

constexpr bool IsUpdateDataCommand(int code)
{
    return (code & 0xFFFF) == CMD_UPDATE_DATA;
}

// host -> panel: put the focus into the search box.
constexpr unsigned int WM_MEMO_FOCUSSEARCH = 0xA72;
// host -> panel: memos came back from the trash; wParam the key of the first, lParam how many.
constexpr unsigned int WM_MEMO_SHOWRESTORED = 0xA73;

// Registration, module -> host with NTF_REGISTER_WINDOW.
constexpr QStringView REG_ROOT = u"ZorvaRegWnd";
constexpr QStringView REG_TEAM_ID = u"TeamID";
constexpr QStringView REG_CAPTION = u"Caption";
constexpr QStringView REG_IMAGE_ID = u"ImgeID";
constexpr QStringView REG_WINDOW = u"pWnd";

// Status-bar text, module -> host with CMD_STATUSBAR_TEXT.
constexpr QStringView STATUS_ROOT = u"UpdataStatusBarText";
constexpr QStringView STATUS_TEXT = u"TextContent";

// User-data update, host -> module with NTF_UPDATE_DATA or CMD_UPDATE_DATA.
constexpr QStringView UPDATE_ROOT = u"UpdateData";
constexpr QStringView UPDATE_USER_NAME = u"UserName";

} // namespace ModuleProtocol
