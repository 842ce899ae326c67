#pragma once

#include <QString>

class CComposite;
class CControl;
class MModel;

// The model's side of the canvas: the scale and layout of the document in the
// view, the page and title state the canvas shows, and the set-up menu.
class MCanvasState
{
public:
    // The entries of the canvas's set-up menu, as the menu hands them back.
    enum SetupEntry
    {
        IpAddress = 1,
        NetworkStatus,
        Receive,
        ProjectInformation,
        About
    };

    explicit MCanvasState(MModel &model);

    bool updateScale();
    void fitToViewWidth();
    void pushPageState();
    void pushHeaderTitle();
    void refreshViewState();
    bool mobileMenuChoice(int entry, const QString &title);
    CControl *pasteText(CComposite *composite, const QString &text, bool *parsed);
    void restack(CControl *control);

private:
    MModel &m;
};
