#include "pictureloader.h"

#include "filesource.h"
#include "scripterror.h"

#include <QImageReader>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace vm2::platform {

namespace {
constexpr int kLargestMegabytes = kLargestPictureSide * kLargestPictureSide * 4 / (1024 * 1024);

// Formats that tell no size before decoding have their decoding bounded too. The
// limit is the whole process's: a lower one set elsewhere stays. Set on the thread
// that loads pictures, before any decoding of a worker starts.
void boundDecoding()
{
    if (const int limit = QImageReader::allocationLimit(); limit == 0 || limit > kLargestMegabytes)
        QImageReader::setAllocationLimit(kLargestMegabytes);
}

QImage decodePicture(FileSource &source, const QString &path, const QString &name)
{
    if (const QImage *decoded = source.decodedPicture(path))
        return *decoded;
    const std::unique_ptr<QIODevice> file = source.open(path);
    if (!file)
        throw ScriptError(Fault::FileNotFound, name);
    QImageReader reader(file.get());
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    auto tooLarge = [&](QSize size) {
        if (size.width() > kLargestPictureSide || size.height() > kLargestPictureSide)
            throw ScriptError(Fault::InvalidPicture, QStringLiteral("%1 is %2 × %3 pixels")
                                                         .arg(name)
                                                         .arg(size.width())
                                                         .arg(size.height()));
    };
    const QSize size = reader.size();
    if (size.isValid())
        tooLarge(size);
    QImage image = reader.read();
    if (image.isNull())
        throw ScriptError(Fault::InvalidPicture,
                          QStringLiteral("%1 (%2)").arg(name, reader.errorString()));
    // Formats that tell no size before decoding (GIF) are held to the same bound.
    tooLarge(image.size());
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    // Transparent pixels (a GIF's transparent colour, say) show the white of an empty
    // surface, as if the picture had not covered them.
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    painter.end();
    return opaque;
}

} // namespace

QImage loadPicture(const QString &path, const QString &name)
{
    boundDecoding();
    return decodePicture(fileSource(), path, name);
}

// One picture decoded ahead: queued, then taken by a worker (or by load(), which
// then decodes it itself), then decoded.
struct PictureCache::Decoding {
    enum class Step { Queued, Running, Done, Taken };

    Decoding(QString file, QString fileName) : path(std::move(file)), name(std::move(fileName)) {}

    // On a worker thread: decodes the picture unless it is taken or started, and
    // tells whether it did.
    bool run(FileSource &source)
    {
        {
            const std::lock_guard lock(mutex);
            if (step != Step::Queued)
                return false;
            step = Step::Running;
        }
        std::optional<FileStamp> decodedStamp = source.stamp(path);
        QImage decoded;
        try {
            if (decodedStamp)
                decoded = decodePicture(source, path, name);
        } catch (...) {
            // load() decodes it again and reports the error where the story draws it.
            decoded = QImage();
        }
        {
            const std::lock_guard lock(mutex);
            stamp = decodedStamp;
            image = std::move(decoded);
            step = Step::Done;
        }
        done.notify_all();
        return true;
    }

    // Takes a decoding that no worker has started, so that none will; waits for one
    // that a worker has. Whether it was decoded.
    bool takeOrWait()
    {
        std::unique_lock lock(mutex);
        if (step == Step::Queued) {
            step = Step::Taken;
            return false;
        }
        done.wait(lock, [this] { return step == Step::Done || step == Step::Taken; });
        return step == Step::Done;
    }

    // Takes a decoding that no worker has started; whether it is still running.
    bool cancel()
    {
        const std::lock_guard lock(mutex);
        if (step == Step::Queued)
            step = Step::Taken;
        return step == Step::Running;
    }

    const QString path;
    const QString name;
    std::mutex mutex;
    std::condition_variable done;
    Step step = Step::Queued;
    std::optional<FileStamp> stamp;
    QImage image;
};

PictureCache::PictureCache()
{
    // A worker idle for this long ends; a game starts its next event well before.
    m_workers.setExpiryTimeout(60 * 1000);
    // One core stays the game's: it decodes itself the picture it needs next when no
    // worker has started it, and a worker more would only slow it down.
    m_workers.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

PictureCache::~PictureCache()
{
    for (auto *list : {&m_ahead, &m_forgotten}) {
        for (const std::shared_ptr<Decoding> &decoding : *list)
            decoding->takeOrWait();
    }
}

const PictureCache::Entry *PictureCache::kept(const QString &path, const FileStamp &stamp)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry &e) { return e.path == path; });
    if (found == m_entries.end())
        return nullptr;
    if (found->stamp != stamp) {
        m_entries.erase(found);
        return nullptr;
    }
    std::rotate(found, found + 1, m_entries.end());
    return &m_entries.back();
}

void PictureCache::keep(const QString &path, const FileStamp &stamp, const QImage &image)
{
    if (m_entries.size() == kEntries)
        m_entries.erase(m_entries.begin());
    m_entries.push_back({path, stamp, image});
}

QImage PictureCache::load(const QString &path, const QString &name)
{
    const std::optional<FileStamp> stamp = fileSource().stamp(path);
    if (!stamp)
        return loadPicture(path, name);
    if (const Entry *entry = kept(path, *stamp))
        return entry->image;
    const auto ahead = std::find_if(m_ahead.begin(), m_ahead.end(),
                                    [&](const auto &d) { return d->path == path; });
    if (ahead != m_ahead.end()) {
        const std::shared_ptr<Decoding> decoding = *ahead;
        m_ahead.erase(ahead);
        // Only the version of the file that is there now will do.
        if (decoding->takeOrWait() && decoding->stamp == stamp && !decoding->image.isNull()) {
            keep(path, *stamp, decoding->image);
            return decoding->image;
        }
    }
    QImage image = loadPicture(path, name);
    keep(path, *stamp, image);
    return image;
}

void PictureCache::decodeAhead(const std::vector<Ahead> &pictures)
{
    std::erase_if(m_forgotten, [](const auto &d) { return !d->cancel(); });
    FileSource &source = fileSource();
    boundDecoding();
    std::vector<std::shared_ptr<Decoding>> ahead;
    std::size_t started = 0;
    for (const Ahead &picture : pictures) {
        if (ahead.size() == kEntries)
            break;
        auto byPath = [&](const auto &d) { return d->path == picture.path; };
        if (std::any_of(ahead.begin(), ahead.end(), byPath))
            continue;
        // Asked for already: it goes on.
        if (const auto asked = std::find_if(m_ahead.begin(), m_ahead.end(), byPath);
            asked != m_ahead.end()) {
            ahead.push_back(std::move(*asked));
            m_ahead.erase(asked);
            continue;
        }
        const std::optional<FileStamp> stamp = source.stamp(picture.path);
        const bool isKept =
            stamp && std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry &e) {
                return e.path == picture.path && e.stamp == *stamp;
            });
        if (!stamp || isKept)
            continue;
        ahead.push_back(std::make_shared<Decoding>(picture.path, picture.name));
        ++started;
    }
    // Each worker takes the last picture that nobody has started: the game takes the
    // first ones as it draws them, so the two work from both ends of the list rather
    // than the game waiting for a worker one picture ahead of it.
    const auto list = std::make_shared<const std::vector<std::shared_ptr<Decoding>>>(ahead);
    for (std::size_t i = 0; i < started; ++i) {
        m_workers.start([list, &source] {
            for (auto d = list->rbegin(); d != list->rend(); ++d) {
                if ((*d)->run(source))
                    return;
            }
        });
    }
    // Those not asked for again: a running one is waited for only when the cache goes.
    for (const std::shared_ptr<Decoding> &decoding : m_ahead) {
        if (decoding->cancel())
            m_forgotten.push_back(decoding);
    }
    m_ahead = std::move(ahead);
}

} // namespace vm2::platform
