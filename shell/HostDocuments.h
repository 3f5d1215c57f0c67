#pragma once
// The documents the module exchanges with its host, with their element names spelled exactly as
// the host reads and writes them.
#include <QStringView>
#include <cstdint>

class CXml;

namespace HostDoc {

// Registration, module -> host with NTF_REGISTER_WINDOW.
constexpr QStringView RegRoot = u"ZorvaRegWnd";
constexpr QStringView RegTeamId = u"TeamID";
constexpr QStringView RegCaption = u"Caption";
constexpr QStringView RegImageId = u"ImgeID";
constexpr QStringView RegWindow = u"pWnd";

// Status-bar text, module -> host with CMD_STATUSBAR_TEXT.
constexpr QStringView StatusRoot = u"UpdataStatusBarText";
constexpr QStringView StatusText = u"TextContent";

// User-data update, host -> module with NTF_UPDATE_DATA or CMD_UPDATE_DATA.
constexpr QStringView UpdateRoot = u"UpdateData";
constexpr QStringView UpdateUserName = u"UserName";

constexpr int MEMO_TEAM_ID = 1;
constexpr QStringView MEMO_CAPTION = u"备忘录";
constexpr int MEMO_IMAGE_ID = 128;

} // namespace HostDoc

// Builds the registration document into an empty `doc`. `window` is the panel's address,
// written as a full pointer-width integer.
void BuildRegistrationDocument(CXml& doc, std::uintptr_t window);

// Builds the status-bar document with `text` into an empty `doc`.
void BuildStatusBarDocument(CXml& doc, QStringView text);
