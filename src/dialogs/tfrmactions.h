#pragma once

#include "app/actionsettings.h"

#include <QDialog>

class Platform;
class QCheckBox;
class SkinnedWindow;
class TImage;
class TLabel;

// The action settings dialog. Its controls are the only store of the completion options: the
// completion reads them live, so nothing is copied out and nothing is lost between showings.
class TfrmActions : public QDialog, public ActionSettings
{
    Q_OBJECT

public:
    TfrmActions(Platform& platform, QWidget* parent = nullptr);

    bool loopEnabled() const override;

    SkinnedWindow& frame() { return *m_frame; }

    TImage* Image1 = nullptr;
    TLabel* Label3 = nullptr;
    QCheckBox* CheckBox6 = nullptr;

private:
    void FormCreate();

    Platform& m_platform;
    SkinnedWindow* m_frame = nullptr;
};
