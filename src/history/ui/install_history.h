#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace billprint {

class AppContext;
class MainFrame;
class TfmSearchBase;
struct HistoryFamily;
struct HistoryWindowHost;

// The history window of a family, as its own window class.
std::unique_ptr<TfmSearchBase> createHistoryWindow(AppContext &context, const HistoryFamily &family,
                                                   const HistoryWindowHost &host, QWidget *parent = nullptr);

// Registers the four history commands with the main window ("支票管理(&Z)",
// "进帐单管理(&J) ", "现金缴款单管理", "快递单管理"), which the history menu
// and the bill windows' "打开(&O)" run: each shows its family's window
// modally, made for the occasion and gone when it closes.
void installHistory(MainFrame &mainWindow);

} // namespace billprint
