#include "tests/support/MessageBoxes.h"

#include <set>

#include "tests/support/ProcessWindows.h"

namespace {

std::string WindowText(HWND h)
{
    char buf[4096] = {};
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

} // namespace

std::string MessageBoxText(HWND hBox)
{
    return WindowText(GetDlgItem(hBox, 0xFFFF));
}

MessageBoxAnswerer::MessageBoxAnswerer()
    : MessageBoxAnswerer([](const std::string&, const std::string&) { return 0; })
{
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers)
    : m_answers(answers.begin(), answers.end())
{
    m_thread = std::thread([this] { Run(); });
}

MessageBoxAnswerer::MessageBoxAnswerer(Decide decide)
    : m_decide(std::move(decide))
{
    m_thread = std::thread([this] { Run(); });
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    m_stop = true;
    m_thread.join();
}

std::vector<SeenBox> MessageBoxAnswerer::Seen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
}

void MessageBoxAnswerer::Run()
{
    std::set<HWND> answered;
    while (!m_stop) {
        for (HWND box : VisibleWindowsOf(m_pid, IsMessageBox)) {
            if (answered.count(box))
                continue;
            const std::string caption = WindowText(box);
            const std::string text = MessageBoxText(box);
            int answer = 0;
            if (m_decide) {
                answer = m_decide(caption, text);
            } else if (!m_answers.empty()) {
                answer = m_answers.front();
                if (m_answers.size() > 1)
                    m_answers.pop_front();
            }
            if (answer == 0) {  // the first of OK, Yes, Ignore the box has
                for (int id : {IDOK, IDYES, IDIGNORE, IDCANCEL}) {
                    if (GetDlgItem(box, id)) {
                        answer = id;
                        break;
                    }
                }
            }
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_seen.push_back({caption, text, answer});
            }
            answered.insert(box);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        }
        // Forget boxes that are gone: Windows may reuse a handle for the next box.
        for (auto it = answered.begin(); it != answered.end();)
            it = IsWindow(*it) ? std::next(it) : answered.erase(it);
        Sleep(15);
    }
}
