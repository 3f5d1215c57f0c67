// The module's two document callbacks as a host calls them, once the panel is created and registered:
// any code, any document, or none. The first byte chooses the callback and the code, the rest is the
// document's text. What the module posts to its panel is delivered before the next input, so a user
// notice runs the panel's reload against a real store and the status text goes back to the host.
#include "FuzzFolder.h"
#include "ShellTestHost.h"

#include <CMemoDlg.h>
#include <CXml.h>
#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoRules.h>
#include <MemoShell.h>
#include <MemoStore.h>
#include <ModuleProtocol.h>

#include <QApplication>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace ModuleProtocol;

extern "C" int NtfCallBack(int code, CXml* doc);
extern "C" int CmdCallBack(int code, CXml* doc);

namespace {

ShellTestHost* g_host = nullptr;

void FillStore()
{
    if (!MemoStore_Open("fuzz", FuzzFolder().c_str()))
        std::abort();
    const MemoGroupRecord group = NewGroupRecord(305371800, u"工作");
    DBI_MemGroupRecycleWriteRecord(&group);
    const MemoRecord memos[] = {NewMemoRecord(305371800, u"工作", 305371800, u"周会", u"周一九点"),
                                NewMemoRecord(305371801, u"全部", 1, u"title", u"body")};
    for (const MemoRecord& memo : memos)
        DBI_MemRecycleWriteRecord(&memo);
}

int CodeFor(std::uint8_t selector, const std::uint8_t*& data, std::size_t& size)
{
    switch (selector & 3) {
    case 0:
        return selector & 0x10 ? CMD_UPDATE_DATA : NTF_UPDATE_DATA;
    case 1: // only the low 16 bits of a command count
        return static_cast<int>(0x2AF80000u | CMD_UPDATE_DATA) ^ (selector << 20);
    case 2: {
        int code = 0;
        if (size >= sizeof code) {
            std::memcpy(&code, data, sizeof code);
            data += sizeof code;
            size -= sizeof code;
        }
        return code;
    }
    default:
        return selector & 0x10 ? CMD_STATUSBAR_TEXT : NTF_REGISTER_WINDOW;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_callbacks";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv); // lives for the whole run, as the host's does
    (void)app;
    FillStore();
    g_host = new ShellTestHost;
    NtfCallBack(NTF_CREATE_PANEL, nullptr);
    if (!g_pMemoDlg || g_host->registrations().size() != 1)
        std::abort();
    g_pMemoDlg->resize(760, 480);
    g_pMemoDlg->show(); // as the host does: a shown panel reloads at each user notice
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t selector = *data++;
    --size;
    const int code = CodeFor(selector, data, size);
    if (code == NTF_CREATE_PANEL)
        return 0; // the host creates the one panel once
    CXml doc;
    doc.SetDoc(QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    CXml* passed = selector & 0x08 ? nullptr : &doc;
    if (selector & 0x10)
        CmdCallBack(code, passed);
    else
        NtfCallBack(code, passed);
    QCoreApplication::sendPostedEvents();
    if (!g_pMemoDlg)
        std::abort(); // nothing the host sends may take the panel away
    g_host->sent.clear();
    return 0;
}
