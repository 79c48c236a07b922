#include "devmodes/WelcomePreview.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QStyleFactory>
#include <iostream>
#include <stdexcept>

#include "app/AnvilIcon.h"
#include "app/ConflictWindowController.h"
#include "app/DarkPalette.h"
#include "app/WelcomeWindowController.h"

namespace tavrino::app {
namespace {

void setAppearance(bool dark) {
    // One fixed style, so that previews look the same on every machine.
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
}

std::vector<QString> titlesOf(const std::vector<QPushButton*>& buttons) {
    std::vector<QString> titles;
    for (const QPushButton* button : buttons)
        titles.push_back(button->text());
    return titles;
}

}  // namespace

WelcomePreviewResult renderWelcomePreview(const WelcomePreviewMode& mode) {
    setAppearance(mode.dark);
    if (!mode.conflict) {
        Panel* panel = WelcomeWindowController::shared().makeWindow();
        panel->adjustSize();
        return {panel->grab().toImage(), WelcomeWindowController::shared().buttonTitles()};
    }
    ConflictWindowController& conflict = ConflictWindowController::shared();
    Panel* panel = conflict.makeWindow();
    if (mode.waiting) {
        conflict.setWaiting(true);
        conflict.text()->setText(QString::fromStdString(ConflictTexts::waiting()));
    }
    panel->adjustSize();
    return {panel->grab().toImage(), titlesOf(conflict.buttons())};
}

void savePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        throw std::runtime_error("PNG을 쓸 수 없음: " + path.toStdString());
    }
}

void writeWelcomePreview(const WelcomePreviewMode& mode) {
    const WelcomePreviewResult result = renderWelcomePreview(mode);
    savePng(result.panel, QString::fromStdString(mode.output));
    if (mode.iconOutput) savePng(AnvilIcon::iconSample(), QString::fromStdString(*mode.iconOutput));
    QString line = "버튼: ";
    for (size_t i = 0; i < result.buttonTitles.size(); ++i) {
        line += (i ? ", " : "") + result.buttonTitles[i];
    }
    std::cout << line.toStdString() << std::endl;
}

}  // namespace tavrino::app
