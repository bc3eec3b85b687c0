#pragma once

#include <QDialog>

// The set-time dialog: hours, minutes and seconds, confirmed or cancelled.
class TfrmSetTime : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSetTime(QWidget* parent = nullptr);
};
