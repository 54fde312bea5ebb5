#include "support/scripted_person.h"

#include <gtest/gtest.h>

namespace pos::test {
namespace {

class CountedWait : public WaitIndicator {
public:
    explicit CountedWait(int& open) : open_(open) { ++open_; }
    ~CountedWait() override { --open_; }

private:
    int& open_;
};

}  // namespace

void ScriptedPerson::message(const std::string& text, const std::string& title, MessageIcon icon)
{
    messages.push_back({text, title, icon});
}

bool ScriptedPerson::ask(const std::string& text, const std::string&, MessageIcon)
{
    questions.push_back(text);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return false;
    }
    bool a = answers.front();
    answers.pop_front();
    return a;
}

std::string ScriptedPerson::input(const std::string& caption, const std::string&, InputKind kind)
{
    if (inputs.empty()) {
        ADD_FAILURE() << "unexpected input dialog: " << caption;
        return kind == InputKind::Text ? "" : "0";
    }
    std::string a = inputs.front();
    inputs.pop_front();
    return a;
}

std::size_t ScriptedPerson::pickGoods(PagedRows&)
{
    if (picks.empty()) {
        ADD_FAILURE() << "unexpected pick list";
        return 0;
    }
    std::size_t a = picks.front();
    picks.pop_front();
    return a;
}

std::optional<Credentials> ScriptedPerson::supervisor(OperatorRight right)
{
    supervisorRights.push_back(right);
    if (supervisors.empty()) {
        ADD_FAILURE() << "unexpected supervisor dialog for right " << rightNumber(right);
        return std::nullopt;
    }
    auto a = supervisors.front();
    supervisors.pop_front();
    return a;
}

std::unique_ptr<WaitIndicator> ScriptedPerson::pleaseWait(const std::string& text)
{
    waits.push_back(text);
    return std::make_unique<CountedWait>(openWaits);
}

std::vector<std::string> ScriptedPerson::messageTexts() const
{
    std::vector<std::string> texts;
    for (const auto& m : messages)
        texts.push_back(m.text);
    return texts;
}

}  // namespace pos::test
