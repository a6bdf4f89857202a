// What the parts of the bill window (tfm_bill_base*.cpp) share: the
// captions of its tool bar commands and notes, the do-not-print options
// and the screen height that sizes its drop-down lists.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QStringList>

namespace billprint::bill_window {

inline const QString kCommonTemplatesTab = QStringLiteral("配置常用模板");
inline const QString kPrintOne = QStringLiteral("单张打印(&P)");
inline const QString kPrintAndSave = QStringLiteral("打印并保存");
inline const QString kPrintRepeated = QStringLiteral("重复打印");
inline const QString kPrintPreview = QStringLiteral("打印预览");
inline const QString kCopy = QStringLiteral("复制(&C)");
// The caption of the window's notes.
inline const QString kCaption = QStringLiteral("提示");

// The options whose tick hides fields (and keeps them from the paper).
inline const QStringList &noPrintOptions()
{
    static const QStringList options{QStringLiteral("cfgNoPrtDate"), QStringLiteral("cfgNoPrtJEXX"),
                                     QStringLiteral("cfgNoPrtJEDX"), QStringLiteral("cfgNoPrtOutter")};
    return options;
}

inline int screenHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 768;
}

} // namespace billprint::bill_window
