#pragma once

#include <QWidget>

// The message window, shown without blocking the rest of the program.
class TfrmMsg : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmMsg(QWidget* parent = nullptr);
};
