// Answers the message boxes a test raises, the way a user would: by reading each
// box's caption and text and pressing a button. Every box seen is recorded.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;
    int answer;
};

class MessageBoxAnswerer {
public:
    // decide(caption, text) returns the button ID to press (IDOK, IDABORT, ...).
    using Decide = std::function<int(const std::string&, const std::string&)>;

    // Presses the first of OK, Yes, Ignore that each box has.
    MessageBoxAnswerer();
    explicit MessageBoxAnswerer(Decide decide);
    // Presses the given buttons in order, then keeps pressing the last one.
    explicit MessageBoxAnswerer(std::vector<int> answers);
    ~MessageBoxAnswerer();

    // Answers the boxes of another process (a started SetUp.exe) instead of this one.
    void WatchProcess(DWORD pid) { m_pid = pid; }
    // Answers the boxes of every process (a program that hands over to another).
    void WatchAllProcesses() { m_pid = kAnyProcess; }
    static constexpr DWORD kAnyProcess = 0;

    std::vector<SeenBox> Seen() const;
    size_t Count() const { return Seen().size(); }

private:
    void Run();
    Decide m_decide;
    std::deque<int> m_answers;
    mutable std::mutex m_mutex;
    std::vector<SeenBox> m_seen;
    std::atomic<bool> m_stop{false};
    std::atomic<DWORD> m_pid{GetCurrentProcessId()};
    std::thread m_thread;
};

// Text of the message box's static text (control 0xFFFF), as GBK bytes.
std::string MessageBoxText(HWND hBox);
