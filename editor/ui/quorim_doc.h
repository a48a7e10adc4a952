#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "image/memory_image.h"

namespace quorim {

class CQuorim_CHView;

// One document: one radio's memory image and its model flag, the file it came
// from, and the modified mark. Its views show it, all alike; the first
// view's editor is what a save encodes.
class CQuorim_CHDoc : public QObject {
    Q_OBJECT

public:
    explicit CQuorim_CHDoc(QObject* parent = nullptr);

    DocumentData& Data() { return m_data; }
    const DocumentData& Data() const { return m_data; }

    // The new image of a new document.
    bool OnNewDocument();

    QString PathName() const { return m_path; }
    void SetPathName(const QString& path);
    QString Title() const { return m_title; }
    void SetTitle(const QString& title);

    bool IsModified() const { return m_modified; }
    // Edits, reads and model changes mark the document; new, open and save
    // clear the mark.
    void SetModifiedFlag(bool modified = true);

    const QList<CQuorim_CHView*>& Views() const { return m_views; }
    CQuorim_CHView* FirstView() const { return m_views.isEmpty() ? nullptr : m_views.first(); }
    void AddView(CQuorim_CHView* view);
    // An edit, a read or a list change in `sender`: every other view takes
    // its state, so that all views, and what Save, Write and Print encode,
    // are one.
    void UpdateAllViews(CQuorim_CHView* sender);
    void RemoveView(CQuorim_CHView* view);

signals:
    void ModifiedChanged(bool modified);
    void TitleChanged(const QString& title);
    // A view was added or went away (window titles number the views).
    void ViewsChanged();
    // The last view went away; the document is about to be deleted.
    void Closed(CQuorim_CHDoc* doc);

private:
    DocumentData m_data;
    QString m_path;
    QString m_title;
    bool m_modified = false;
    QList<CQuorim_CHView*> m_views;
};

}  // namespace quorim
