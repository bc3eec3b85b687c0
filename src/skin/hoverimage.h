#pragma once

#include "skin/vclwidgets.h"

#include <QString>

// The picture button of every window: a picture control whose picture is a bitmap that the
// recolouring routines change in place. Its Hint is shown only in a window's hint line.
class THoverImage : public TImage
{
    Q_OBJECT

public:
    explicit THoverImage(QWidget* parent = nullptr);

    QString Hint;
};
