#pragma once

#include "data/QuestionStore.h"
#include "exam/ExamSettings.h"

#include <QDialog>

class ExamSession;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class XPButton;

/// mlks (模拟考试, mock exam). "模拟考试设置": the sections a mock exam draws from, the count and points of
/// each type, the exam time and whether the questions never answered come first. "开始考试" draws the paper
/// and starts the exam through the exam session; the settings are saved whenever the dialog closes.
class mlks final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mlks)
public:
    /// Reads the settings and the sections of the bank at @p bankPath on a connection of
    /// its own, held until the dialog closes.
    mlks(ExamSession& exam, const QString& bankPath, QWidget* parent = nullptr);
    ~mlks() override;

    /// Whether the dialog holds its own connection (it is released on closing).
    bool hasConnection() const { return m_db.isOpen(); }

    /// The settings as the boxes hold them.
    ExamSettings settings() const;
    /// The exam time text, as the exam run takes it.
    QString examTime() const;

    /// "开始考试": checks the boxes, draws the paper and starts the exam; the dialog
    /// then closes accepted. A refusal or a failure leaves it open and says why.
    void StartExam();

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillSections();
    void selectAll(bool selected);
    void showProgress(int maximum, int value);
    /// Saves the boxes, saying so when the file cannot be written.
    void saveSettings();
    /// Writes the option when it was changed; false when the file could not be written.
    bool saveUnseenFirst() const;

    ExamSession& m_exam;
    QuestionStore m_db;
    QListWidget* m_List1;
    QLineEdit* m_ts[QuestionType::SlotCount];
    QLineEdit* m_df[QuestionType::SlotCount];
    QLineEdit* m_sj;
    QCheckBox* m_unseenFirst;
    QProgressBar* m_Bar1;
    XPButton* m_XPButton1;
    XPButton* m_XPButton2;
    XPButton* m_XPButton3[2];
    bool m_saved = false;
    bool m_settingsSaved = false;
};
