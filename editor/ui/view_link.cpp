// The view's radio commands: Read and Write (Ctrl+R, Ctrl+W) and online
// tuning (Ctrl+T). The transfer and the tuning window run elsewhere; the view
// commits its pending edit, says what it wants, and takes a read's result.
#include <QComboBox>
#include <optional>
#include <string>

#include "app/port_selection.h"
#include "editor/settings_lists.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "files/file_status_text.h"
#include "link/clone_engine.h"
#include "link/port_names.h"
#include "tuning/tuning_dialog.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

std::string HostPortName(const CViewHost* host) {
    return host ? host->PortName() : PortSelection::PortName(1);
}

}  // namespace

void CQuorim_CHView::OnReadRadio() {
    if (IsTransferRunning() || (m_host && m_host->AnyTransferRunning())) {
        return;
    }
    OnLeaveCellGrid();  // a pending cell edit is committed first
    m_nDirection = TransferDirection::Read;
    emit TransferCommand(m_nDirection);
}

void CQuorim_CHView::OnWriteRadio() {
    if (IsTransferRunning() || (m_host && m_host->AnyTransferRunning())) {
        return;
    }
    OnLeaveCellGrid();
    // A file that may not be a memory image goes to a radio only when the
    // user says so; No is the default.
    if (m_pDocument && m_pDocument->Doubt() != ImageDoubt::None &&
        AfxMessageBox(
            this,
            Raw(ImageDoubtText(Utf8(m_pDocument->PathName()), m_pDocument->Doubt(), WindowTexts(), true)),
            QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question,
            QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    m_nDirection = TransferDirection::Write;
    emit TransferCommand(m_nDirection);
}

void CQuorim_CHView::OnRadioTransfer() {
    if (!m_pDocument) {
        return;
    }
    m_strPortName = HostPortName(m_host);
    emit RunTransfer(m_strPortName, m_nDirection, m_pDocument->Data());
}

void CQuorim_CHView::OnTransferRunning(bool running) {
    if (running) {
        // The document stays: this view's window refuses to close until the
        // end. The model list would re-lay the grid the transfer reads and
        // fills.
        const QList<CQuorim_CHView*> views =
            m_pDocument ? m_pDocument->Views() : QList<CQuorim_CHView*>{this};
        for (CQuorim_CHView* view : views) {
            m_lockedModelLists.append(view->Combo(SettingsList::Model));
            view->Combo(SettingsList::Model)->setEnabled(false);
        }
        return;
    }
    for (const QPointer<QComboBox>& list : m_lockedModelLists) {
        if (list) {
            list->setEnabled(true);
        }
    }
    m_lockedModelLists.clear();
}

void CQuorim_CHView::OnTransferred(const TransferResult& result, const DocumentData& work) {
    if (!m_pDocument) {
        return;
    }
    if (result.direction == TransferDirection::Write) {
        // The image holds what was encoded for the radio.
        m_pDocument->Data().m_image = work.m_image;
    } else if (result.Ok()) {
        // The document takes the radio's memory, which every view shows.
        m_pDocument->TakeRead(work);
        m_pDocument->SetDoubt(ImageDoubt::None);  // the radio's own memory now
        HideCellEditors();
        ReloadCellEditors();
        SyncFunctionSettings();
        m_grid->viewport()->update();
        MarkModified();  // one undo step
    }
    if (result.Ok()) {
        // Done work is told, with the model, the channels and the device.
        emit TransferResultText(Raw(TransferDoneText(WindowTexts(), result.direction, result.documentSixteen,
                                                     ResolvePortName(m_strPortName))));
    }
    if (result.Ok() && result.direction == TransferDirection::Read) {
        TellCheckSummary();
    }
}

void CQuorim_CHView::OnOnlineTuning() {
    // The band list holds the fixed entries; with none selected the window
    // opens on the list's initial entry.
    std::optional<std::string> band;
    const int sel = Editor().CurSel(SettingsList::Band);
    const auto& items = Info(SettingsList::Band).items;
    if (sel >= 0 && sel < static_cast<int>(items.size())) {
        band = std::string(items[static_cast<std::size_t>(sel)]);
    }
    emit OnlineTuning(TuningBandBase(band), HostPortName(m_host));
}

}  // namespace quorim
