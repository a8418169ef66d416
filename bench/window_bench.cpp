// Split-and-copy through the real window (offscreen): sentences of 1,000,
// 100,000 and 1,000,000 characters against the default dictionary.
//
//   QT_QPA_PLATFORM=offscreen ./bench/window_bench

#include <stdlib.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <random>

#include "builtin/DefaultDictionary.h"
#include "database/DictionaryDatabase.h"
#include "ui/qt/MainU.h"

namespace {

QString MakeSentence(int length, const std::vector<zelk::base::DictionaryEntry>& entries) {
    std::mt19937 random(7305);
    QString text;
    text.reserve(length);
    while (text.size() < length) {
        if (random() % 10 < 7) {
            text += QString::fromStdString(entries[random() % entries.size()].key);
        } else {
            text += QChar(char16_t(0x4E00 + random() % 0x5000));
        }
    }
    return text.left(length);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    std::string dir = (std::filesystem::temp_directory_path() / "zelk-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) return 1;
    std::filesystem::current_path(dir);
    const auto entries = zelk::builtin::DefaultDictionaryEntries();
    zelk::db::CreateDictionaryDatabase("Zelk.dll", entries, zelk::db::kInitialSentence, false);

    TfrmMian window(nullptr, {QUrl(QStringLiteral("http://127.0.0.1:9/")), false});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    auto* sentenceBox = window.findChild<QLineEdit*>("edt1");
    auto* resultBox = window.findChild<QLineEdit*>("edt2");
    auto* splitAndCopy = window.findChild<QPushButton*>("btnZelkAndCopy");

    std::printf("split-and-copy through the window, %zu dictionary entries\n", entries.size());
    for (int length : {1000, 100000, 1000000}) {
        sentenceBox->setText(MakeSentence(length, entries));
        // A pasted sentence is drawn before it can be split.
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        splitAndCopy->click();
        const double ms = timer.nsecsElapsed() / 1e6;
        timer.restart();
        window.repaint();
        const double drawMs = timer.nsecsElapsed() / 1e6;
        const bool copied = QGuiApplication::clipboard()->text() == resultBox->text();
        std::printf(
            "%9d characters: %9.1f ms  (%6.2f us per character; result %lld characters%s); "
            "drawn again in %.1f ms\n",
            length, ms, ms * 1000 / length, static_cast<long long>(resultBox->text().size()),
            copied ? ", copied" : ", NOT COPIED", drawMs);
    }
    std::filesystem::current_path("/");
    std::filesystem::remove_all(dir);
    return 0;
}
