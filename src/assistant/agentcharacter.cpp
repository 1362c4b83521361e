#include "agentcharacter.h"

#include "characterpainter.h"
#include "speechbubble.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPropertyAnimation>
#include <QtGlobal>

#ifdef CHEMODESK_HAVE_SPEECH
#include <QTextToSpeech>
#endif

#include <algorithm>
#include <cmath>

namespace chemodesk::assistant {

namespace {

// Reading time of a balloon: a pause plus a little per character.
int readingMs(const QString &text)
{
    return 1500 + 55 * static_cast<int>(text.size());
}

// How long the balloon stays after the words have been said.
constexpr int BalloonLingerMs = 3000;

} // namespace

AgentCharacter::AgentCharacter(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Agent1"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();

    balloon_ = new SpeechBubble(parent);
    frameTimer_.setSingleShot(true);
    speechTimer_.setSingleShot(true);
    balloonTimer_.setSingleShot(true);
    connect(&frameTimer_, &QTimer::timeout, this, &AgentCharacter::showFrame);
    connect(&balloonTimer_, &QTimer::timeout, balloon_, &QWidget::hide);
    walk_ = new QPropertyAnimation(this, "pos", this);
    walk_->setEasingCurve(QEasingCurve::InOutQuad);
}

AgentCharacter::~AgentCharacter()
{
    // The balloon belongs to the parent window; take it along.
    delete balloon_;
}

bool AgentCharacter::Load(const QString &characterName, const QString &filePath)
{
    QString error;
    auto parsed = readCharacterFile(filePath, &error);
    if (parsed && parsed->name.compare(characterName, Qt::CaseInsensitive) != 0) {
        error = QStringLiteral("%1 holds the character %2, not %3")
                    .arg(filePath, parsed->name, characterName);
        parsed.reset();
    }
    if (!parsed) {
        loadError_ = error;
        return false;
    }
    Hide();
    character_ = std::move(parsed);
    loadError_.clear();
    resize(character_->size);
    if (balloon_)
        balloon_->setColours(
            character_->colour(QStringLiteral("bubble"), QColor(0xff, 0xfb, 0xea)),
            character_->colour(QStringLiteral("bubbleText"), QColor(0x22, 0x22, 0x22)));
    pose_ = character_->restPose();
    return true;
}

QStringList AgentCharacter::animationNames() const
{
    QStringList names = character_ ? character_->animations.keys() : QStringList();
    names.sort();
    return names;
}

QString AgentCharacter::balloonText() const
{
    return balloon_ && !balloon_->isHidden() ? balloon_->text() : QString();
}

// ------------------------------------------------------------------ requests

void AgentCharacter::Show()
{
    enqueue([this] {
        show();
        raise();
        playFrames(QStringLiteral("show"), false, [this] { done(); });
    });
}

void AgentCharacter::MoveTo(int x, int y)
{
    enqueue([this, x, y] {
        const QPoint target = clampedToParent(QPoint(x, y));
        if (isHidden() || target == pos()) {
            move(target);
            done();
            return;
        }
        const QPoint way = target - pos();
        const double distance = std::hypot(way.x(), way.y());
        walk_->stop();
        walk_->disconnect(this);
        walk_->setStartValue(pos());
        walk_->setEndValue(target);
        walk_->setDuration(scaled(std::clamp(static_cast<int>(distance * 2.2), 250, 1600)));
        connect(walk_, &QPropertyAnimation::finished, this, [this] {
            walk_->disconnect(this);
            stopFrames();
            rest();
            done();
        });
        playFrames(QStringLiteral("move"), true, {});
        walk_->start();
    });
}

void AgentCharacter::Play(const QString &animation)
{
    enqueue([this, animation] { playFrames(animation, false, [this] { done(); }); });
}

void AgentCharacter::Speak(const QString &text)
{
    enqueue([this, text] {
        if (!isHidden() && balloon_) {
            balloonTimer_.stop();
            balloon_->say(text, geometry());
            sayAloud(text);
        }
        playFrames(QStringLiteral("speak"), true, {});
        speechTimer_.disconnect(this);
        connect(&speechTimer_, &QTimer::timeout, this, [this] {
            stopFrames();
            rest();
            balloonTimer_.start(scaled(BalloonLingerMs));
            done();
        });
        speechTimer_.start(scaled(readingMs(text)));
    });
}

void AgentCharacter::Hide()
{
    requests_.clear();
    running_ = false;
    ++generation_;
    walk_->disconnect(this);
    walk_->stop();
    speechTimer_.stop();
    balloonTimer_.stop();
    stopFrames();
    rest();
    if (balloon_)
        balloon_->hide();
    hide();
}

void AgentCharacter::enqueue(Step step)
{
    if (!character_)
        return;
    requests_.push_back(std::move(step));
    if (!running_)
        next();
}

void AgentCharacter::next()
{
    if (requests_.empty()) {
        running_ = false;
        Q_EMIT idle();
        return;
    }
    running_ = true;
    Step step = std::move(requests_.front());
    requests_.pop_front();
    step();
}

void AgentCharacter::done()
{
    // Later requests start from the event loop, so a long queue never nests.
    QTimer::singleShot(0, this, [this, generation = generation_] {
        if (running_ && generation == generation_)
            next();
    });
}

// -------------------------------------------------------------------- frames

void AgentCharacter::playFrames(const QString &animation, bool loop, Step finished)
{
    stopFrames();
    const auto found = character_->animations.constFind(animation);
    if (found == character_->animations.constEnd()) {
        if (finished)
            finished();
        return;
    }
    animation_ = animation;
    frames_ = found.value();
    frameIndex_ = 0;
    looping_ = loop;
    framesFinished_ = std::move(finished);
    showFrame();
}

void AgentCharacter::showFrame()
{
    if (frameIndex_ >= frames_.size()) {
        if (looping_ && !frames_.empty()) {
            frameIndex_ = 0;
        } else {
            Step finished = std::move(framesFinished_);
            framesFinished_ = {};
            animation_.clear();
            if (finished)
                finished();
            return;
        }
    }
    const Frame &frame = frames_.at(frameIndex_++);
    pose_ = frame.pose;
    update();
    frameTimer_.start(scaled(frame.ms));
}

void AgentCharacter::stopFrames()
{
    frameTimer_.stop();
    frames_.clear();
    frameIndex_ = 0;
    looping_ = false;
    framesFinished_ = {};
    animation_.clear();
}

void AgentCharacter::rest()
{
    if (character_)
        pose_ = character_->restPose();
    update();
}

void AgentCharacter::sayAloud(const QString &text)
{
#ifdef CHEMODESK_HAVE_SPEECH
    // Nobody listens to a window drawn off screen.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    if (!voice_ && !voiceTried_) {
        voiceTried_ = true;
        if (!QTextToSpeech::availableEngines().isEmpty())
            voice_ = new QTextToSpeech(this);
    }
    if (auto *voice = qobject_cast<QTextToSpeech *>(voice_))
        voice->say(text);
#else
    Q_UNUSED(text);
#endif
}

int AgentCharacter::scaled(int ms) const
{
    return std::max(1, static_cast<int>(std::lround(ms * timeScale_)));
}

QPoint AgentCharacter::clampedToParent(QPoint topLeft) const
{
    if (!parentWidget())
        return topLeft;
    const QRect area = parentWidget()->rect();
    return QPoint(
        std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - width())),
        std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() - height())));
}

// ------------------------------------------------------------------- drawing

void AgentCharacter::paintEvent(QPaintEvent *)
{
    if (!character_)
        return;
    QPainter painter(this);
    paintCharacter(painter, *character_, character_->poses.value(pose_), rect());
}

} // namespace chemodesk::assistant
