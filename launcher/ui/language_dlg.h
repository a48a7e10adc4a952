#pragma once

#include <QDialog>
#include <QIcon>
#include <string>

#include "launcher/language_choice.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace quorim {

// Dialog 102, "Language Mode": Chinese or English, in captions of the chosen
// language. OK records the choice in the launcher's settings and starts the
// programming program for it; Cancel, Esc and the close box do neither.
class CLanguageDlg : public QDialog {
    Q_OBJECT

public:
    // `launcherDir` is where the launcher lies: the programs it starts are
    // looked for there first, then along the search path.
    CLanguageDlg(LauncherSettings& settings, std::string launcherDir, QWidget* parent = nullptr);

    void SetChineseCaptions();
    void SetEnglishCaptions();
    // The language of the captions shown now.
    Language CaptionLanguage() const { return m_captions; }
    QComboBox* LanguageCombo() const { return m_comboLanguage; }

    // The program OK started last, with its full path; empty if none.
    const QString& StartedProgram() const { return m_started; }

public slots:
    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnInitDialog();
    void OnSelChangeCombo(int index);
    void ApplyCaptions(Language language);
    // Starts the target without arguments and without waiting for it.
    bool StartTarget(std::string_view target);

    LauncherSettings& m_settings;
    std::string m_launcherDir;
    QComboBox* m_comboLanguage = nullptr;
    QLabel* m_label = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QRect m_labelRect;  // the label's place by the template
    QIcon m_hIcon;
    Language m_captions = Language::Chinese;
    QString m_started;
};

}  // namespace quorim
