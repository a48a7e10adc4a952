#pragma once

#include <QString>
#include <string>

#include "app/recent_files.h"
#include "base/translation.h"

namespace quorim {

class CQuorim_CHDoc;

// What the main window takes from the application around it: the state its
// menus show and the application's commands it forwards.
class CFrameHost {
public:
    virtual ~CFrameHost() = default;
    virtual UiLanguage Language() const = 0;
    // The port chosen in the port menu.
    virtual std::string PortName() const = 0;
    virtual const RecentFileList& RecentFiles() const = 0;
    // Application commands (ports, New, Open, Print Setup, About, recent
    // files); false for ids it does not know.
    virtual bool OnCmdMsg(int id) = 0;
    virtual bool IsCommandChecked(int id) const = 0;
    // False when the user cancelled or the save failed.
    virtual bool OnFileSave(CQuorim_CHDoc* doc) = 0;
    virtual bool OnFileSaveAs(CQuorim_CHDoc* doc) = 0;
    // Another window on the document.
    virtual void OnWindowNew(CQuorim_CHDoc* doc) = 0;
    // Every modified document offers to be saved; true when all may close.
    virtual bool SaveAllModified() = 0;
    // Opens a file as a document; null when it cannot be opened (the user
    // has been told why).
    virtual CQuorim_CHDoc* OpenDocumentFile(const QString& path) = 0;
};

}  // namespace quorim
