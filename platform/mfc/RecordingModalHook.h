#pragma once

#include "platform/mfc/ModalService.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace mfc
{
// Answers modal requests without showing anything and remembers each one (for tests).
// Installs itself while it lives. Queued answers are used in order; without one, a message
// box answers its default button and every other request is cancelled.
class RecordingModalHook : public ModalHook
{
public:
    struct Record
    {
        ModalRequest::Kind eKind;
        std::string kText;    // message box text; file dialog initial name
        std::string kCaption; // message box caption; file dialog filter
        UINT uiType;          // message box type; file dialog flags
        UINT nDialogId;       // dialog template id
    };
    using AnswerFunction = std::function<int(ModalRequest&)>;

    RecordingModalHook();
    ~RecordingModalHook() override;
    RecordingModalHook(const RecordingModalHook&) = delete;
    RecordingModalHook& operator=(const RecordingModalHook&) = delete;

    int Answer(ModalRequest& kRequest) override;

    void Queue(AnswerFunction fnAnswer) { m_kAnswers.push_back(std::move(fnAnswer)); }
    // The next message box answers this button.
    void QueueButton(int iButton);
    // The next file dialog picks this path (IDOK).
    void QueueFile(std::string kPath);

    const std::vector<Record>& GetRecords() const { return m_kRecords; }
    // The texts of the message boxes shown so far.
    std::vector<std::string> GetMessageTexts() const;

private:
    ModalHook* m_pkPrevious = nullptr;
    std::deque<std::function<int(ModalRequest&)>> m_kAnswers;
    std::vector<Record> m_kRecords;
};
} // namespace mfc
