#pragma once
// The module's component id and the codes it exchanges with its host. Every code has 11000
// (0x2AF8) in its high 16 bits and 11000 + n in its low 16 bits.

constexpr int MEMO_COMPONENT_ID = 17000;

constexpr int NTF_CREATE_PANEL = 0x2AF82AFA;    // host -> module (NtfCallBack)
constexpr int NTF_REGISTER_WINDOW = 0x2AF82AFB; // module -> host (ExecuteNtfCommand), "ZorvaRegWnd"
constexpr int CMD_STATUSBAR_TEXT = 0x2AF82AFE;  // module -> host (ExecuteCommand), "UpdataStatusBarText"
constexpr int NTF_UPDATE_DATA = 0x2AF82AFF;     // host -> module (NtfCallBack), "UpdateData"
constexpr int CMD_UPDATE_DATA = 0x2AFF;         // host -> module (CmdCallBack): only the low 16 bits count

constexpr bool IsUpdateDataCommand(int code)
{
    return (code & 0xFFFF) == CMD_UPDATE_DATA;
}
