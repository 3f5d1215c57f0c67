#pragma once
// The codes and document names of the host-module protocol, as the host speaks it. Every code
// has 11000 in its high 16 bits and 11000 + n in its low 16 bits.
#include <QStringView>

namespace ModuleProtocol {

constexpr int NTF_CREATE_PANEL = 0x2AF82AFA;    // host -> module: create your panel
constexpr int NTF_REGISTER_WINDOW = 0x2AF82AFB; // module -> host: here is the panel ("ZorvaRegWnd")
constexpr int CMD_STATUSBAR_TEXT = 0x2AF82AFE;  // module -> host: status text ("UpdataStatusBarText")
constexpr int NTF_UPDATE_DATA = 0x2AF82AFF;     // host -> module: the user changed ("UpdateData")

// The private message that asks a panel to put the focus into its search box.
constexpr unsigned int WM_MEMO_FOCUSSEARCH = 0xA72;
// host -> panel: memos came back from the trash; wParam the key of the first, lParam how many.
constexpr unsigned int WM_MEMO_SHOWRESTORED = 0xA73;

// Element names, spelled as the protocol spells them.
constexpr QStringView REG_ROOT = u"ZorvaRegWnd";
constexpr QStringView REG_TEAM_ID = u"TeamID";
constexpr QStringView REG_CAPTION = u"Caption";
constexpr QStringView REG_IMAGE_ID = u"ImgeID";
constexpr QStringView REG_WINDOW = u"pWnd";
constexpr QStringView STATUS_ROOT = u"UpdataStatusBarText";
constexpr QStringView STATUS_TEXT = u"TextContent";
constexpr QStringView UPDATE_ROOT = u"UpdateData";
constexpr QStringView UPDATE_USER_NAME = u"UserName";

} // namespace ModuleProtocol
