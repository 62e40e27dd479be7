#pragma once
// The About box: the program's name with the file version of its own
// version block, what it is, credits, links, help and a close button.

#include <QDialog>
#include <QUrl>
#include <functional>
#include <memory>

namespace Ui {
class EXPL_AboutBox;
}

namespace brx {

class TEXPL_AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TEXPL_AboutBox(QWidget* parent = nullptr);
    ~TEXPL_AboutBox() override;

    // The help context the AIDE button opens.
    static constexpr int kHelpContext = 219;
    // Opens help at a context; set by whoever owns the help viewer.
    std::function<void(int)> OnHelpRequested;
    // Opens a link's target; the desktop's default handler unless replaced.
    std::function<void(const QUrl&)> OnOpenUrl;

    // The target of each link label, by the label's href.
    static QUrl linkTarget(const QString& href);

private:
    void FormCreate();
    void BttnHlpClick();
    void LinkActivated(const QString& href);

    std::unique_ptr<Ui::EXPL_AboutBox> m_ui;
};

} // namespace brx
