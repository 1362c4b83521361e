#pragma once

// The assistant on screen: a character from its file, drawn by us, living as a
// see-through child over the main window. Requests queue up and run one after
// another, so "show, move, play, speak, play" reads as a little scene: it
// walks to the point, gestures, says its line in a balloon (and aloud where
// the workstation can speak), then rests. Hide stops the scene at once.
// It stands over the patient list, so it takes no mouse input: a click on it
// reaches the row beneath.

#include "characterfile.h"
#include "platform/assistant.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <optional>

class QPropertyAnimation;

namespace chemodesk::assistant {

class SpeechBubble;

class AgentCharacter : public QWidget, public platform::Assistant {
    Q_OBJECT
public:
    // `parent` is the window it appears over; positions are in its coordinates.
    explicit AgentCharacter(QWidget *parent);
    ~AgentCharacter() override;

    bool Load(const QString &characterName, const QString &filePath) override;
    void Show() override;
    // Walks to (x, y) (its top-left corner), kept inside the parent.
    void MoveTo(int x, int y) override;
    // An animation the file does not define is skipped.
    void Play(const QString &animation) override;
    void Speak(const QString &text) override;
    void Hide() override;

    bool isLoaded() const { return character_.has_value(); }
    QString characterName() const { return character_ ? character_->name : QString(); }
    QStringList animationNames() const;
    // Requests waiting or running.
    bool isBusy() const { return running_ || !requests_.empty(); }
    QString currentAnimation() const { return animation_; }
    QString currentPose() const { return pose_; }
    // The words in the balloon while it shows, else empty.
    QString balloonText() const;
    // Why the last Load failed.
    QString loadError() const { return loadError_; }
    // Stretches every duration by `factor` (below 1 makes it quicker).
    void setTimeScale(double factor) { timeScale_ = factor; }

Q_SIGNALS:
    // The last queued request has finished.
    void idle();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    using Step = std::function<void()>;
    void enqueue(Step step);
    void next();
    void done();
    void playFrames(const QString &animation, bool loop, Step finished);
    void showFrame();
    void stopFrames();
    void rest();
    void sayAloud(const QString &text);
    int scaled(int ms) const;
    QPoint clampedToParent(QPoint topLeft) const;

    std::optional<CharacterDefinition> character_;
    QString loadError_;
    std::deque<Step> requests_;
    bool running_ = false;
    // Raised by Hide, so a step finishing after it starts nothing.
    quint64 generation_ = 0;

    QString animation_;
    QString pose_;
    std::vector<Frame> frames_;
    size_t frameIndex_ = 0;
    bool looping_ = false;
    Step framesFinished_;
    QTimer frameTimer_;
    QTimer speechTimer_;
    QTimer balloonTimer_;
    QPropertyAnimation *walk_ = nullptr;
    QPointer<SpeechBubble> balloon_;
    QObject *voice_ = nullptr;
    bool voiceTried_ = false;
    double timeScale_ = 1.0;
};

} // namespace chemodesk::assistant
