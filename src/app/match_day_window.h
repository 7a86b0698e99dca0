#pragma once

#include "online/download.h"
#include "online/match_day_download.h"
#include "ui/window_frame.h"

#include <QPointer>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTimer;

namespace korbisto::ui {
class PictureLabel;
}

namespace korbisto::app {

class TFGewonnen;

// TFsptag, "Spieltag- Download": fetches the match day of a chosen Saturday
// into the match-day folder and, if wished, into the main window. Closing
// hides it and cancels a download under way.
class TFsptag : public ui::WindowFrame {
    Q_OBJECT

public:
    explicit TFsptag(TFGewonnen* main);

    void AbrufenClick();
    void Timer2Timer();
    void Timer3Timer();
    // The status picture: 0 neutral, 1 success, 2 failure.
    int statusPicture() const { return status_; }
    bool downloading() const { return download_ != nullptr; }

signals:
    // A press has ended, the donation status included.
    void finished();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void showStatus(int picture);
    void matchDayDone(const MatchDayResult& result, const QString& name);
    void endPress();

    TFGewonnen* main_;
    QCheckBox* cbSofort = nullptr;
    QComboBox* ComboDate2 = nullptr;
    QPushButton* BAbrufen = nullptr;
    ui::PictureLabel* Image1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    int status_ = 0;
    QPointer<Download> download_;
    bool busy_ = false;
};

}  // namespace korbisto::app
