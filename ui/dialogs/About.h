#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

namespace zelk {

// The About box: the application title, the product line with the version text of
// the program file's version block, the program file's date and the maker's name.
// It reads the version and the date at every showing. Modal result 1 for "OK".
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int kResultOk = 1;

    explicit TAboutBox(QWidget* parent = nullptr);

    // Shows the box modally and returns its modal result.
    int ShowModal() { return exec(); }

    // The file whose version and date are shown; the running program unless set.
    void SetProgramFile(const QString& path) { programFile_ = path; }
    QString ProgramFile() const;

    void FormShow();

    QFrame* Panel1 = nullptr;
    QPushButton* OKButton = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Comments = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* l_VersionsNummer = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* l_Datum = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString programFile_;
    bool placed_ = false;
};

}  // namespace zelk
