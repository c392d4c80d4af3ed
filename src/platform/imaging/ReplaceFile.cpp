#include "platform/imaging/ReplaceFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pellix {

namespace {

// QSaveFile resolves a symbolic link at the name and writes to its target, so
// the file is written here by hand, every step relative to the open folder.

constexpr char Marker[] = ".pellix-";
constexpr int RandomLength = 6;
constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    void reset(int fd = -1) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd;
};

struct Entry {
    QByteArray folder; // never empty
    QByteArray name;   // empty when the path names a folder
};

Entry split(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const qsizetype slash = native.lastIndexOf('/');
    if (slash < 0) {
        return {".", native};
    }
    return {slash == 0 ? QByteArray("/") : native.left(slash), native.mid(slash + 1)};
}

QByteArray temporaryPrefix(const QByteArray& name) {
    return '.' + name + Marker;
}

QByteArray temporaryName(const QByteArray& name) {
    QByteArray result = temporaryPrefix(name);
    for (int i = 0; i < RandomLength; ++i) {
        result += Alphabet[QRandomGenerator::system()->bounded(int(sizeof Alphabet - 1))];
    }
    return result;
}

bool isTemporaryName(const char* entry, const QByteArray& name) {
    const QByteArray prefix = temporaryPrefix(name);
    if (std::strlen(entry) != std::size_t(prefix.size() + RandomLength) ||
        std::strncmp(entry, prefix.constData(), prefix.size()) != 0) {
        return false;
    }
    for (const char* c = entry + prefix.size(); *c; ++c) {
        if (!std::strchr(Alphabet, *c)) {
            return false;
        }
    }
    return true;
}

QString reason(const QString& path, int error) {
    return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return true;
}

// A new, empty temporary file in the folder, locked so that another instance's
// removeLeftovers leaves it alone. Its name goes to `name`.
int createTemporary(int folder, const QByteArray& target, mode_t mode, QByteArray& name) {
    for (int tries = 0; tries < 100; ++tries) {
        name = temporaryName(target);
        // O_EXCL refuses any entry at the name, a planted link included.
        Descriptor file(::openat(folder, name.constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (file.get() < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return -1;
        }
        // A cleaner may have taken the file between its creation and the lock;
        // then it is gone from the folder and another name is tried. Where the
        // file system has no locks, the file goes unguarded (the cleaner never
        // removes a file it cannot lock).
        ::flock(file.get(), LOCK_EX);
        struct stat st {};
        if (::fstat(file.get(), &st) != 0) {
            const int error = errno;
            ::unlinkat(folder, name.constData(), 0);
            errno = error;
            return -1;
        }
        if (st.st_nlink > 0) {
            return file.release();
        }
    }
    errno = EEXIST;
    return -1;
}

} // namespace

QString replaceFile(const QString& path, const QByteArray& bytes) {
    const Entry entry = split(path);
    if (entry.name.isEmpty()) {
        return reason(path, EISDIR);
    }
    const Descriptor folder(::open(entry.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        return reason(path, errno);
    }
    struct stat old {};
    const bool keepMode =
        ::fstatat(folder.get(), entry.name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(old.st_mode);

    QByteArray name;
    const Descriptor file(createTemporary(folder.get(), entry.name, keepMode ? 0600 : 0666, name));
    if (file.get() < 0) {
        return reason(path, errno);
    }
    const auto fail = [&](int error) {
        ::unlinkat(folder.get(), name.constData(), 0);
        return reason(path, error);
    };
    if (!writeAll(file.get(), bytes) || ::fsync(file.get()) != 0) {
        return fail(errno);
    }
    if (keepMode && ::fchmod(file.get(), old.st_mode & 0777) != 0) {
        return fail(errno);
    }
    // rename() replaces the entry itself, whatever it is: a link is not followed.
    if (::renameat(folder.get(), name.constData(), folder.get(), entry.name.constData()) != 0) {
        return fail(errno);
    }
    ::fsync(folder.get()); // the rename is durable too; some file systems refuse, harmlessly
    return {};
}

void removeLeftovers(const QString& path) {
    const Entry entry = split(path);
    if (entry.name.isEmpty()) {
        return;
    }
    const Descriptor folder(::open(entry.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const int listing = folder.get() < 0 ? -1 : ::dup(folder.get());
    DIR* dir = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!dir) {
        if (listing >= 0) {
            ::close(listing);
        }
        return;
    }
    const uid_t self = ::geteuid();
    while (const dirent* e = ::readdir(dir)) {
        if (!isTemporaryName(e->d_name, entry.name)) {
            continue;
        }
        struct stat named {};
        if (::fstatat(folder.get(), e->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(named.st_mode) || named.st_uid != self) {
            continue;
        }
        // A writer holds the lock until its rename: a file nobody holds is a
        // leftover. Only the file that was examined is removed.
        const Descriptor file(::openat(folder.get(), e->d_name,
                                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        struct stat opened {};
        if (file.get() < 0 || ::fstat(file.get(), &opened) != 0 || opened.st_ino != named.st_ino ||
            opened.st_dev != named.st_dev || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        struct stat locked {};
        if (::fstatat(folder.get(), e->d_name, &locked, AT_SYMLINK_NOFOLLOW) == 0 &&
            locked.st_ino == named.st_ino && locked.st_dev == named.st_dev) {
            ::unlinkat(folder.get(), e->d_name, 0);
        }
    }
    ::closedir(dir);
}

} // namespace pellix
