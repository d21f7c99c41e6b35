// The window with its REST connection pointed at a stub server on loopback
// and the dialog double installed: for the tests of moves, turn controls and
// the player list.
#pragma once

#include "AppTestSupport.h"
#include "tests/common/TDialogServiceDouble.h"
#include "tests/net/TStubRestServer.h"

#include "net/TDSRestConnection.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// A reply whose result is the given JSON value.
inline TScriptedReply Result(const std::string &AJson)
{
    return {200, R"({"result":[)" + AJson + "]}"};
}

inline TScriptedReply ServerError()
{
    return {500, R"({"error":"method failed"})"};
}

class PlayTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Form->DSRestConnection1->SetHost(QStringLiteral("127.0.0.1"));
        Form->DSRestConnection1->SetPort(Stub.Port());
        // After the window's own service, which it replaces until TearDown.
        Dialogs.emplace();
        auto answers = FAnswers;
        Stub.SetHandler([answers](const std::string &ATarget) { return answers->Next(MethodCall(ATarget)); });
    }
    void TearDown() override
    {
        Dialogs.reset();
        FormTest::TearDown();
    }

    // Replies for a method, one per call in order; the last one repeats.
    // Unscripted methods answer the empty text.
    void Script(const std::string &AMethod, std::vector<TScriptedReply> AReplies)
    {
        const std::lock_guard lock(FAnswers->Mutex);
        FAnswers->Replies[AMethod] = std::deque<TScriptedReply>(AReplies.begin(), AReplies.end());
    }

    // The calls the server received, as "Method/param/param".
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> calls;
        for (const TRecordedRequest &request : Stub.Requests())
            calls.push_back(MethodCall(request.Target));
        return calls;
    }

    std::vector<QString> DialogTexts() const
    {
        std::vector<QString> texts;
        for (const auto &call : Dialogs->Calls)
            texts.push_back(call.Text);
        return texts;
    }

    bool Logged(const QString &AText) const { return Log.Texts().contains(AText); }

    TStubRestServer Stub;
    std::optional<TDialogServiceDouble> Dialogs;

private:
    struct TAnswers
    {
        std::mutex Mutex;
        std::map<std::string, std::deque<TScriptedReply>> Replies;

        TScriptedReply Next(const std::string &ACall)
        {
            const std::lock_guard lock(Mutex);
            auto found = Replies.find(ACall.substr(0, ACall.find('/')));
            if (found == Replies.end() || found->second.empty())
                return Result(R"("")");
            TScriptedReply reply = found->second.front();
            if (found->second.size() > 1)
                found->second.pop_front();
            return reply;
        }
    };

    // "/datasnap/rest/TServerMethods1/KillCard/1/2/3/" -> "KillCard/1/2/3"
    static std::string MethodCall(std::string ATarget)
    {
        const std::string prefix = "/datasnap/rest/TServerMethods1/";
        if (ATarget.rfind(prefix, 0) == 0)
            ATarget.erase(0, prefix.size());
        while (!ATarget.empty() && ATarget.back() == '/')
            ATarget.pop_back();
        return ATarget;
    }

    std::shared_ptr<TAnswers> FAnswers = std::make_shared<TAnswers>();
};
