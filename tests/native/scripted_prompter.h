// A Prompter for tests: answers from a script and records every request, in order, so tests
// can assert the exact texts the user would have seen.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "suite/prompter.h"

class ScriptedPrompter final : public Prompter {
public:
    ScriptedPrompter() { InstallPrompter(this); }
    ~ScriptedPrompter() override { InstallPrompter(nullptr); }
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    // Queue the answer for the next request.
    ScriptedPrompter& Answer(PromptAnswer answer) {
        answers_.push_back({answer, nullptr});
        return *this;
    }
    // The same, with something the user's world does while the request is on screen (a server
    // started again before Retry is pressed).
    ScriptedPrompter& Answer(PromptAnswer answer, std::function<void()> meanwhile) {
        answers_.push_back({answer, std::move(meanwhile)});
        return *this;
    }

    PromptAnswer Show(const PromptRequest& request) override {
        asked_.push_back(request);
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected prompt: \"" << request.text << "\"";
            return request.buttons == kButtonsYesNo ? kAnswerNo : kAnswerCancel;
        }
        auto [answer, meanwhile] = std::move(answers_.front());
        answers_.pop_front();
        if (meanwhile) meanwhile();
        return answer;
    }

    const std::vector<PromptRequest>& Asked() const { return asked_; }

    // Just the texts, for compact assertions on the order of messages.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const PromptRequest& r : asked_) texts.push_back(r.text);
        return texts;
    }

    size_t UnusedAnswers() const { return answers_.size(); }

private:
    std::deque<std::pair<PromptAnswer, std::function<void()>>> answers_;
    std::vector<PromptRequest> asked_;
};

// Answers every request as a user who agrees to everything: Yes to a question, Retry to a record
// held elsewhere, OK to a message; records the texts shown.
class YesToAllPrompter final : public Prompter {
public:
    YesToAllPrompter() { InstallPrompter(this); }
    ~YesToAllPrompter() override { InstallPrompter(nullptr); }
    YesToAllPrompter(const YesToAllPrompter&) = delete;
    YesToAllPrompter& operator=(const YesToAllPrompter&) = delete;
    PromptAnswer Show(const PromptRequest& r) override {
        texts.push_back(r.text);
        return r.buttons == kButtonsYesNo ? kAnswerYes : r.buttons == kButtonsRetryCancel ? kAnswerRetry : kAnswerOk;
    }
    std::vector<std::string> texts;
};
