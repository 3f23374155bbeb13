#pragma once

#include "platform/win32/MessageBox.h"

#include <deque>
#include <string>
#include <vector>

namespace win32
{
// Answers message boxes without showing them and remembers each one (for tests).
// Installs itself while it lives.
class RecordingMessageBox : public MessageBoxService
{
public:
    struct Box
    {
        HWND hOwner;
        std::string kText;
        std::string kCaption;
        uint32_t uiType;
    };

    RecordingMessageBox();
    ~RecordingMessageBox() override;

    RecordingMessageBox(const RecordingMessageBox&) = delete;
    RecordingMessageBox& operator=(const RecordingMessageBox&) = delete;

    int Show(HWND hOwner, const char* pcText, const char* pcCaption, uint32_t uiType) override;

    // The next boxes answer these in order; after them each box answers its default button.
    void QueueAnswer(int iAnswer) { m_kAnswers.push_back(iAnswer); }

    const std::vector<Box>& GetBoxes() const { return m_kBoxes; }

private:
    MessageBoxService* m_pkPrevious = nullptr;
    std::deque<int> m_kAnswers;
    std::vector<Box> m_kBoxes;
};
} // namespace win32
