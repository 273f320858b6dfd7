#pragma once

#include "app/PasteChordTable.h"
#include "app/SelectionKeeper.h"
#include "model/MenuBarItem.h"
#include "platform/PlatformServices.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace driftmark {

class AppLogger;
class DelegateLogWriter;

// Smart Paste sequences from their request to their restore: the user's clipboard is saved, the entry's
// text goes on the clipboard, the window the user was in is activated, the paste chord of that window
// (after Return when the entry asks for it) is typed into it, and the user's clipboard is put back. A
// window that pastes the PRIMARY selection gets the text there too, and the user's PRIMARY is saved and
// put back the same way. Always owned through a shared pointer: the restore holds the object until it
// has run, the other steps end with it. Main thread only.
class SmartPaste final : public std::enable_shared_from_this<SmartPaste> {
public:
    // Told of each entry whose text the sequence has put on the clipboard.
    using CopiedHandler = std::function<void(const MenuBarItem&)>;

    static std::shared_ptr<SmartPaste> create(const PlatformServices& services, AppLogger& appLogger,
                                              DelegateLogWriter& logWriter, CopiedHandler copied);
    SmartPaste(const SmartPaste&) = delete;
    SmartPaste& operator=(const SmartPaste&) = delete;

    // Without `previousApp` the paste goes to whichever application is frontmost at the paste stage.
    void start(const MenuBarItem& item, const std::optional<RunningApplication>& previousApp);
    // A plain copy has just replaced the clipboard: the sequences in flight put back that copy instead.
    void clipboardReplaced();
    // Puts the user's clipboard back now, at quit, if a sequence has written it.
    void finishAtQuit();

private:
    SmartPaste(const PlatformServices& services, AppLogger& appLogger, DelegateLogWriter& logWriter,
               CopiedHandler copied);

    // Reads the clipboard for the sequences in flight; their copies wait until it is read or the time
    // for it is up.
    void saveClipboard();
    void clipboardSaved();
    void copyForSmartPaste(const MenuBarItem& item, const std::optional<RunningApplication>& previousApp);
    // Chooses the chord by the window pasted into: the previous application, else the frontmost one.
    void pasteStage(const MenuBarItem& item, const std::optional<RunningApplication>& previousApp);
    // Runs `then` once the user's PRIMARY is saved, by the first of the sequences in flight to need it.
    void afterPrimarySaved(std::function<void()> then);
    void activateAndPaste(const MenuBarItem& item, const std::optional<RunningApplication>& previousApp,
                          const PasteChord& chord);
    void pasteAfterActivation(const MenuBarItem& item, const PasteChord& chord);
    // Completes on the main queue when the item wants a Return first; `completion` runs once the
    // keystrokes are posted or found impossible.
    void pasteToActiveApp(const MenuBarItem& item, const PasteChord& chord, std::function<void()> completion);
    void postPasteKeystroke(const PasteChord& chord);
    void scheduleRestore(double delay);
    void finishSmartPaste(double delay);
    // Puts back what the sequences saved; `when` tells the log, e.g. "after 0.8s delay".
    void restoreSavedSelections(const std::string& when);

    // Its lines keep the category they have always been logged under.
    CategoryLog logger_;
    PlatformServices services_;
    AppLogger& appLogger_;
    DelegateLogWriter& logWriter_;
    CopiedHandler copied_;

    // The first of overlapping sequences saves the user's clipboard; the later ones would only save our
    // own pasted text, so they share what the first saved, and only the last to finish puts it back.
    int inFlight_ = 0;
    // Requests whose text goes on the clipboard once the save has finished.
    struct WaitingPaste {
        MenuBarItem item;
        std::optional<RunningApplication> previousApp;
    };
    std::vector<WaitingPaste> waitingForSave_;
    SelectionKeeper clipboard_;
    // A paste of the sequences in flight found Driftmark's own window in front and posted nothing.
    bool keepCopiedText_ = false;

    PasteChordTable chords_;
    // PRIMARY is saved by the first sequence in flight that pastes it, and put back with the clipboard.
    SelectionKeeper primary_;
    bool primaryTaken_ = false;
    // Paste stages that wait for the save of PRIMARY.
    std::vector<std::function<void()>> waitingForPrimary_;
};

} // namespace driftmark
