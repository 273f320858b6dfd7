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
#include <string>
#include <vector>

namespace driftmark {

class AppLogger;
class DelegateLogWriter;

// Smart Paste sequences from their request to their restore: the user's clipboard is saved, the entry's
// text goes on the clipboard, the window the user was in is activated, the paste chord of that window
// (after Return when the entry asks for it) is typed into it once the desktop says it is active, and the
// user's clipboard is put back once that window has read the text. A window that pastes the PRIMARY
// selection gets the text there too, and the user's PRIMARY is saved and put back the same way. Always
// owned through a shared pointer: the restore holds the object until it has run, the other steps end
// with it. Main thread only.
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
    // One paste on its way to the restore. It may restore once its earliest time has come and, when a
    // paste keystroke went out, the window pasted into has read the text; at the latest a while after
    // the keystroke, read or not.
    struct PendingRestore {
        // Counted from the paste stage, or from the keystrokes when nothing is activated; names the
        // restore when the text was read by then.
        double earliestDelay = 0;
        bool earliestPassed = false;
        // Which selection the window pasted into reads.
        bool pastesPrimary = false;
        std::optional<double> keystrokeAt;
        bool readLate = false;
        bool read = false;
        bool latestPassed = false;
        bool finished = false;
    };
    // A paste that waits for the desktop to make its window the active one.
    struct ActivationWait {
        MenuBarItem item;
        RunningApplication target;
        const PasteChord* chord;
        std::shared_ptr<PendingRestore> restore;
    };

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
    // Pastes once the target is the active window, or when the time for that is up.
    void waitForActivation(std::shared_ptr<ActivationWait> wait);
    void activeApplicationChanged();
    void activationTimeUp(const std::shared_ptr<ActivationWait>& wait);
    bool isFrontmost(const RunningApplication& application) const;
    void stopWaitingFor(const std::shared_ptr<ActivationWait>& wait);
    void pasteAfterActivation(const MenuBarItem& item, const PasteChord& chord,
                              const std::shared_ptr<PendingRestore>& restore);
    // Completes on the main queue when the item wants a Return first; `completion` runs once the
    // keystrokes are posted or found impossible.
    void pasteToActiveApp(const MenuBarItem& item, const PasteChord& chord,
                          const std::shared_ptr<PendingRestore>& restore, std::function<void()> completion);
    void postPasteKeystroke(const PasteChord& chord, const std::shared_ptr<PendingRestore>& restore);
    // Returns `posted`.
    bool logPosted(bool posted, const std::string& event);
    // The paste keystroke has gone out: the restore now also waits for the text to be read.
    void awaitRead(const std::shared_ptr<PendingRestore>& restore);
    void textRead(bool primary);
    void startEarliestRestore(const std::shared_ptr<PendingRestore>& restore);
    void restoreWhenDone(const std::shared_ptr<PendingRestore>& restore);
    // Stops listening for reads of a selection that no paste waits on any more.
    void stopWatchingUnawaitedReads();
    // How the log names the restore's moment, e.g. "after 0.8s delay".
    std::string restoreMoment(const PendingRestore& restore) const;
    void finishSmartPaste(const std::string& when);
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

    // Pastes whose restore has not come yet, and those that wait for their window to be activated.
    std::vector<std::shared_ptr<PendingRestore>> restores_;
    std::vector<std::shared_ptr<ActivationWait>> activationWaits_;
};

} // namespace driftmark
