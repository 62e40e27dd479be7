// Every control of the window kit in its states, in one window: check
// boxes, a completing combo box, caption-checked groups, path labels at
// several widths, 3-D labels, round buttons, the pictures, and hints in the
// status bar. "controls_demo aide" opens the help viewer on its contents.

#include "controls/Hints.h"
#include "controls/Pictures.h"
#include "controls/TCheckBox98.h"
#include "controls/TComboBox98.h"
#include "controls/TDRLabel.h"
#include "controls/TEnhGroupBox.h"
#include "controls/TFileLabel.h"
#include "controls/THemisphereButton.h"
#include "controls/THintHandler.h"
#include "gui/help/HelpFile.h"
#include "gui/help/HelpViewer.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace brx;

namespace {

QGroupBox* section(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    return box;
}

// Children of the sections keep the normal font.
template <typename T, typename... Args>
T* plain(QWidget* parent, Args&&... args) {
    auto* widget = new T(std::forward<Args>(args)..., parent);
    QFont normal = widget->font();
    normal.setBold(false);
    widget->setFont(normal);
    return widget;
}

QWidget* checkBoxes(QWidget* parent) {
    QGroupBox* box = section(QStringLiteral("Cases à cocher"), parent);
    auto* layout = new QVBoxLayout(box);
    auto* unchecked = plain<TCheckBox98>(box, QStringLiteral("&Chemins inclus"));
    auto* checked = plain<TCheckBox98>(box, QStringLiteral("&Sous répertoires inclus"));
    checked->SetChecked(true);
    auto* grayed = plain<TCheckBox98>(box, QStringLiteral("État &indéterminé"));
    grayed->SetAllowGrayed(true);
    grayed->SetState(cbGrayed);
    auto* disabled = plain<TCheckBox98>(box, QStringLiteral("Désactivée, cochée"));
    disabled->SetChecked(true);
    disabled->setEnabled(false);
    auto* left = plain<TCheckBox98>(box, QStringLiteral("Libellé à gauche"));
    left->SetAlignment(taLeftJustify);
    SetHint(unchecked, QStringLiteral("|Stocker les chemins des fichiers."));
    SetHint(checked, QStringLiteral("|Inclure les sous répertoires."));
    for (QWidget* w : {static_cast<QWidget*>(unchecked), static_cast<QWidget*>(checked),
                       static_cast<QWidget*>(grayed), static_cast<QWidget*>(disabled),
                       static_cast<QWidget*>(left)})
        layout->addWidget(w);
    return box;
}

QWidget* comboBoxes(QWidget* parent) {
    QGroupBox* box = section(QStringLiteral("Liste avec complétion"), parent);
    auto* layout = new QVBoxLayout(box);
    auto* combo = plain<TComboBox98>(box);
    combo->addItems({QStringLiteral("/home/marie/Sauvegardes/"), QStringLiteral("/media/cle-usb/"),
                     QStringLiteral("/mnt/partage/Archives/")});
    // As if "/me" had just been typed: the rest is proposed and selected.
    combo->setEditText(QStringLiteral("/media/cle-usb/"));
    combo->lineEdit()->setSelection(3, 12);
    SetHint(combo, QStringLiteral("|Choisir un lecteur ou un dossier de stockage."));
    auto* minimum = plain<TComboBox98>(box);
    minimum->addItems({QStringLiteral("Installation de mon programme")});
    minimum->SetMinLengthComplete(3);
    minimum->setEditText(QStringLiteral("In"));
    SetHint(minimum, QStringLiteral("Complétion à partir de 3 caractères|La complétion ne commence "
                                    "qu'au troisième caractère."));
    layout->addWidget(plain<QLabel>(box, QStringLiteral("Destination (« /me » tapé) :")));
    layout->addWidget(combo);
    layout->addWidget(plain<QLabel>(box, QStringLiteral("Titre (au moins 3 caractères) :")));
    layout->addWidget(minimum);
    layout->addStretch();
    return box;
}

TEnhGroupBox* group(const QString& caption, bool checked, QWidget* parent) {
    auto* box = plain<TEnhGroupBox>(parent, caption);
    box->setMinimumSize(220, 96);
    auto* edit = new QLineEdit(QStringLiteral("********"), box);
    edit->setGeometry(14, 28, 120, 24);
    auto* level = new QSpinBox(box);
    level->setRange(1, 9);
    level->setGeometry(144, 28, 60, 24);
    auto* option = new TCheckBox98(QStringLiteral("Demander à chaque fois"), box);
    option->move(14, 62);
    box->SetChecked(checked);
    return box;
}

QWidget* groups(QWidget* parent) {
    QGroupBox* box = section(QStringLiteral("Groupes à case de titre"), parent);
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(group(QStringLiteral("Mot de passe (coché)"), true, box));
    layout->addWidget(group(QStringLiteral("Mot de passe (décoché)"), false, box));
    return box;
}

QWidget* fileLabels(QWidget* parent) {
    QGroupBox* box = section(QStringLiteral("Chemins raccourcis"), parent);
    auto* layout = new QGridLayout(box);
    const QString path = QStringLiteral("/home/marie/Documents/Projets/2000/Rapport annuel.odt");
    const int widths[] = {250, 200, 160, 100};
    auto* whole = plain<TFileLabel>(box);
    whole->setFrameShape(QFrame::StyledPanel);
    whole->setFixedWidth(250);
    whole->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    whole->SetFileName(QStringLiteral("/home/marie/notes.txt"));
    layout->addWidget(plain<QLabel>(box, QStringLiteral("chemin court, 250 px :")), 0, 0);
    layout->addWidget(whole, 0, 1, Qt::AlignLeft);
    int row = 1;
    for (TDirection direction : {drFromLeft, drFromRight}) {
        const QString side = direction == drFromLeft ? QStringLiteral("par la gauche")
                                                     : QStringLiteral("par la droite");
        for (int width : widths) {
            auto* caption = plain<QLabel>(box, QStringLiteral("%1, %2 px :").arg(side).arg(width));
            auto* label = plain<TFileLabel>(box);
            label->setFrameShape(QFrame::StyledPanel);
            label->setFixedWidth(width);
            // The label never asks for room; here the layout must give it.
            label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
            label->SetDirection(direction);
            label->SetFileName(path);
            SetHint(label, QStringLiteral("|") + path);
            layout->addWidget(caption, row, 0);
            layout->addWidget(label, row, 1, Qt::AlignLeft);
            ++row;
        }
    }
    return box;
}

QWidget* labels(QWidget* parent) {
    QGroupBox* box = section(QStringLiteral("Libellés 3-D"), parent);
    auto* layout = new QVBoxLayout(box);
    auto add = [&](const QString& caption, TLabelBorder border) {
        auto* label = plain<TDRLabel>(box, caption);
        QFont font = label->font();
        font.setPointSize(11);
        font.setBold(true);
        label->setFont(font);
        label->SetBorder(border);
        label->SetFontColor(QColor(0, 0, 128));
        label->SetShadowColor(Qt::white);
        label->setFixedSize(label->sizeHint() + QSize(8, 4));
        layout->addWidget(label);
        return label;
    };
    add(QStringLiteral("&Aide (ombre)"), boNone)->SetDeep(2);
    add(QStringLiteral("Cadre simple"), boSingle);
    add(QStringLiteral("Cadre en relief"), boRaised);
    TDRLabel* lowered = add(QStringLiteral("&Quitter (enfoncé)"), boLowered);
    SetHint(lowered, QStringLiteral("|Touche ESC pour quitter."));
    add(QStringLiteral("Désactivé"), boNone)->setEnabled(false);
    TDRLabel* blinking = add(QStringLiteral("Sauvegarde terminée"), boNone);
    blinking->SetFontColor(Qt::red);
    blinking->SetHiColor(Qt::red);
    blinking->SetLoColor(QColor(128, 0, 0));
    blinking->SetBlinkInterval(1000);
    blinking->SetBlink(blHiLo);
    layout->addStretch();
    return box;
}

THemisphereButton* round(const QString& caption, QColor face, int side, int points,
                         QWidget* parent) {
    auto* button = plain<THemisphereButton>(parent, caption);
    button->SetFaceColor(face);
    button->SetBevelWidth(4);
    QFont font = button->font();
    font.setPointSize(points);
    font.setBold(true);
    button->setFont(font);
    button->setFixedSize(side, side);
    return button;
}

QWidget* buttons(QWidget* parent) {
    QGroupBox* box = section(QStringLiteral("Boutons ronds"), parent);
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(round(QStringLiteral("Zip"), QColor(0, 128, 128), 90, 16, box));
    layout->addWidget(round(QStringLiteral("Ajouter"), QColor(0xFF, 0x80, 0x40), 90, 13, box));
    layout->addWidget(round(QStringLiteral("Supp..."), QColor(0xFF, 0x80, 0x80), 90, 13, box));
    THemisphereButton* extract =
        round(QStringLiteral("Extraire"), QColor(0, 0x80, 0x40), 90, 12, box);
    extract->SetBevelInner(hbLowered); // as after an extraction
    SetHint(extract, QStringLiteral("Extraire|Bevel intérieur abaissé après une extraction."));
    layout->addWidget(extract);
    layout->addWidget(round(QStringLiteral("?"), QColor(192, 192, 192), 40, 12, box));
    THemisphereButton* off = round(QStringLiteral("!"), QColor(192, 192, 192), 40, 12, box);
    off->setEnabled(false);
    layout->addWidget(off);
    layout->addStretch();
    return box;
}

QWidget* pictures(QWidget* parent) {
    QGroupBox* box = section(QStringLiteral("Images"), parent);
    auto* layout = new QHBoxLayout(box);
    const struct {
        const char* file;
        bool animated;
        const char* hint;
    } shown[] = {{"Zip2Files.gif", true, "Page Extraire"},
                 {"Zip2Exe.gif", true, "Page ZIP <---> EXE"},
                 {"ZipRun.gif", true, "Sauvegarde en cours"},
                 {"ZipErr.gif", false, "Sauvegarde en échec"},
                 {"absente.gif", true, "Image absente : rien ne s'affiche"}};
    for (const auto& picture : shown) {
        auto* label = plain<QLabel>(box);
        label->setFixedSize(100, 100);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        ShowPicture(label, ProgramFile(QString::fromLatin1(picture.file)), picture.animated);
        SetHint(label,
                QStringLiteral("%1|%1 (%2)")
                    .arg(QString::fromUtf8(picture.hint), QString::fromLatin1(picture.file)));
        layout->addWidget(label);
    }
    layout->addStretch();
    return box;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("aide")) {
        ShowHelpContext(nullptr, kHelpContents);
        return QApplication::topLevelWidgets().isEmpty() ? 1 : app.exec();
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("BRX_EXPLO - Contrôles"));
    auto* layout = new QGridLayout(&window);
    layout->addWidget(checkBoxes(&window), 0, 0);
    layout->addWidget(comboBoxes(&window), 0, 1);
    layout->addWidget(labels(&window), 0, 2, 2, 1);
    layout->addWidget(groups(&window), 1, 0, 1, 2);
    layout->addWidget(fileLabels(&window), 2, 0, 1, 2);
    layout->addWidget(pictures(&window), 2, 2);
    layout->addWidget(buttons(&window), 3, 0, 1, 3);
    auto* status = new QStatusBar(&window);
    layout->addWidget(status, 4, 0, 1, 3);
    SetHint(&window, QStringLiteral("|Survolez un contrôle pour lire son aide ici."));
    status->showMessage(GetLongHint(Hint(&window)));
    auto* hints = new THintHandler(&window);
    hints->OnHint = [status](const QString& hint) { status->showMessage(hint); };
    window.show();
    return app.exec();
}
