#pragma once
// A host for the shell's tests: registered with the host adapter while it lives, it keeps the
// text of every document the module sends, with its channel, code and third argument.
#include <CXml.h>
#include <HostAdapter.h>

#include <QString>
#include <vector>

struct SentDocument
{
    bool notification;
    int code;
    int param;
    QString text;
};

class ShellTestHost
{
  public:
    ShellTestHost()
    {
        const HostAdapterHost host{&ShellTestHost::command, &ShellTestHost::notify, this};
        HostAdapter_RegisterHost(&host);
    }
    ~ShellTestHost() { HostAdapter_UnregisterHost(this); }
    ShellTestHost(const ShellTestHost&) = delete;
    ShellTestHost& operator=(const ShellTestHost&) = delete;

    std::vector<SentDocument> sent;
    int answer = 1;

    std::vector<SentDocument> registrations() const
    {
        std::vector<SentDocument> found;
        for (const SentDocument& doc : sent)
            if (doc.notification && doc.code == 0x2AF82AFB)
                found.push_back(doc);
        return found;
    }

  private:
    static int record(void* context, bool notification, int code, CXml* doc, int param)
    {
        auto* self = static_cast<ShellTestHost*>(context);
        self->sent.push_back({notification, code, param, doc ? doc->GetDoc() : QString()});
        return self->answer;
    }
    static int command(void* context, int code, CXml* doc, int param)
    {
        return record(context, false, code, doc, param);
    }
    static int notify(void* context, int code, CXml* doc, int param)
    {
        return record(context, true, code, doc, param);
    }
};
