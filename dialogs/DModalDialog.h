#pragma once

#include <QDialog>

// Base of the program's modal dialogs: each fills itself in initialize() when
// it is run with execModal().
class DModalDialog : public QDialog
{
    Q_OBJECT
public:
    enum Result
    {
        Refused = 0,
        Accepted = 1,
        Pending = 2
    };

    explicit DModalDialog(QWidget *parent = nullptr);

    // Shows the dialog application-modal and answers whether it was accepted.
    virtual bool execModal();
    virtual void initialize();

    int resultCode() const { return m_resultCode; }

protected:
    void setResultCode(int code) { m_resultCode = code; }

private:
    int m_resultCode = Pending;
};
