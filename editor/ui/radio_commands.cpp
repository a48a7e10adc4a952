#include "editor/ui/radio_commands.h"

#include <optional>

#include "app/port_selection.h"
#include "editor/settings_lists.h"
#include "editor/ui/view_document.h"
#include "editor/ui/view_host.h"
#include "files/file_status_text.h"
#include "link/port_names.h"
#include "tuning/tuning_dialog.h"
#include "ui/busy_state.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

CRadioCommands::CRadioCommands(QWidget* window, CViewDocument& doc, CViewHost* host,
                               std::function<void()> commitEdit,
                               std::function<QList<QComboBox*>()> modelLists)
    : QObject(window),
      m_window(window),
      m_doc(doc),
      m_host(host),
      m_commitEdit(std::move(commitEdit)),
      m_modelLists(std::move(modelLists)) {}

bool CRadioCommands::IsTransferRunning() const {
    return m_doc.Busy();
}

bool CRadioCommands::Refused() const {
    return IsTransferRunning() || (m_host && CBusyState::AnyBusy());
}

void CRadioCommands::OnReadRadio() {
    if (Refused()) {
        return;
    }
    m_commitEdit();  // a pending cell edit is committed first
    m_direction = TransferDirection::Read;
    emit TransferCommand(m_direction);
}

void CRadioCommands::OnWriteRadio() {
    if (Refused()) {
        return;
    }
    m_commitEdit();
    // A file that may not be a memory image goes to a radio only when the
    // user says so; No is the default.
    CQuorim_CHDoc* doc = m_doc.Get();
    if (doc && doc->Doubt() != ImageDoubt::None &&
        AfxMessageBox(m_window, Raw(ImageDoubtText(Utf8(doc->PathName()), doc->Doubt(), WindowTexts(), true)),
                      QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question,
                      QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    m_direction = TransferDirection::Write;
    emit TransferCommand(m_direction);
}

void CRadioCommands::OnRadioTransfer() {
    if (!m_doc.Get()) {
        return;
    }
    m_portName = m_host ? m_host->PortName() : PortSelection::PortName(1);
    emit RunTransfer(m_portName, m_direction, m_doc.Get()->Data());
}

void CRadioCommands::OnTransferRunning(bool running) {
    if (running) {
        // The document stays: this window refuses to close until the end.
        // The model list would re-lay the grid the transfer reads and fills.
        for (QComboBox* list : m_modelLists()) {
            m_locked.append(list);
            list->setEnabled(false);
        }
        return;
    }
    for (const QPointer<QComboBox>& list : m_locked) {
        if (list) {
            list->setEnabled(true);
        }
    }
    m_locked.clear();
}

void CRadioCommands::OnTransferred(const TransferResult& result, const DocumentData& work) {
    CQuorim_CHDoc* doc = m_doc.Get();
    if (!doc) {
        return;
    }
    if (result.direction == TransferDirection::Write) {
        // The image holds what was encoded for the radio.
        doc->Data().m_image = work.m_image;
    } else if (result.Ok()) {
        // The document takes the radio's memory, which every view shows.
        doc->TakeRead(work);
        doc->SetDoubt(ImageDoubt::None);  // the radio's own memory now
        emit ReadTaken();
    }
    if (result.Ok()) {
        // Done work is told, with the model, the channels and the device.
        emit TransferResultText(Raw(TransferDoneText(WindowTexts(), result.direction, result.documentSixteen,
                                                     ResolvePortName(m_portName))));
    }
    if (result.Ok() && result.direction == TransferDirection::Read) {
        emit ReadTold();
    }
}

void CRadioCommands::OnOnlineTuning() {
    // The band list holds the fixed entries; with none selected the window
    // opens on the list's initial entry.
    std::optional<std::string> band;
    const int sel = m_doc.Editor().CurSel(SettingsList::Band);
    const auto& items = Info(SettingsList::Band).items;
    if (sel >= 0 && sel < static_cast<int>(items.size())) {
        band = std::string(items[static_cast<std::size_t>(sel)]);
    }
    emit OnlineTuning(TuningBandBase(band), m_host ? m_host->PortName() : PortSelection::PortName(1));
}

}  // namespace quorim
