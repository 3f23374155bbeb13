#include "platform/mfc/RecordingModalHook.h"

#include "platform/mfc/CDialog.h"
#include "platform/mfc/CFileDialog.h"

namespace mfc
{
RecordingModalHook::RecordingModalHook() : m_pkPrevious(ModalService::SetHook(this)) {}

RecordingModalHook::~RecordingModalHook()
{
    ModalService::SetHook(m_pkPrevious);
}

void RecordingModalHook::QueueButton(int iButton)
{
    Queue([iButton](ModalRequest&) { return iButton; });
}

void RecordingModalHook::QueueFile(std::string kPath)
{
    Queue(
        [kPath](ModalRequest& kRequest)
        {
            if (kRequest.pkFileDialog == nullptr)
                return static_cast<int>(IDCANCEL);
            kRequest.pkFileDialog->SetPathName(kPath.c_str());
            return static_cast<int>(IDOK);
        });
}

int RecordingModalHook::Answer(ModalRequest& kRequest)
{
    Record kRecord{kRequest.eKind, kRequest.kText, kRequest.kCaption, kRequest.uiType, 0};
    if (kRequest.pkFileDialog != nullptr)
    {
        kRecord.kText = kRequest.pkFileDialog->GetInitialFileName().Str();
        kRecord.kCaption = kRequest.pkFileDialog->GetFilter().Str();
        kRecord.uiType = kRequest.pkFileDialog->GetFlags();
    }
    if (kRequest.pkDialog != nullptr)
        kRecord.nDialogId = kRequest.pkDialog->GetTemplateId();
    m_kRecords.push_back(kRecord);
    if (!m_kAnswers.empty())
    {
        auto fnAnswer = std::move(m_kAnswers.front());
        m_kAnswers.pop_front();
        return fnAnswer(kRequest);
    }
    if (kRequest.eKind == ModalRequest::Kind::MessageBox)
        return win32::DefaultMessageBoxAnswer(kRequest.uiType);
    return IDCANCEL;
}

std::vector<std::string> RecordingModalHook::GetMessageTexts() const
{
    std::vector<std::string> kTexts;
    for (const Record& kRecord : m_kRecords)
        if (kRecord.eKind == ModalRequest::Kind::MessageBox)
            kTexts.push_back(kRecord.kText);
    return kTexts;
}
} // namespace mfc
