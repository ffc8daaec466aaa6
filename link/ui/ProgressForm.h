#pragma once
// TProgressForm: the progress dialog every register command shows while it
// works. It is not modal for its caller (the command keeps running and the link's
// waits process events), but it blocks input to the other windows while it shows.
// Its state tells the command whether the user is still watching: Running,
// ErrorShown (red status, OK in Cancel's place) or Closed (OK or Cancel pressed).
#include "shell/UserInterface.h"

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace plu {

class TProgressForm : public QDialog {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);

    // Runs when the user presses Cancel, before the dialog closes: it cancels the
    // main link component's wait in progress.
    std::function<void()> OnCancel;

    void ShowProgress();
    void SetStatus(bool isError, const QString& text);
    void SetTotal(int total);
    void SetCurrent(int current);
    void CloseProgress();
    ProgressState State() const { return m_state; }

    QLabel* StatusLabel() const { return m_statusLabel; }
    QLabel* CurLabel() const { return m_curLabel; }
    QLabel* TotalLabel() const { return m_totalLabel; }
    QProgressBar* ProgressBar() const { return m_progressBar; }
    QPushButton* OkBtn() const { return m_okBtn; }
    QPushButton* CancelBtn() const { return m_cancelBtn; }

public slots:
    void OkBtnClick();
    void CancelBtnClick();

protected:
    // Esc and the window manager's close act as the button on show.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetStatusColour(bool isError);

    QLabel* m_statusLabel = nullptr;
    QLabel* m_curLabel = nullptr;
    QLabel* m_totalLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_okBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    ProgressState m_state = ProgressState::Closed;
};

} // namespace plu
