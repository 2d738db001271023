#include "ErrorText.h"

#include <QCoreApplication>
#include <QSqlError>

#include <cerrno>
#include <cstring>
#include <initializer_list>

namespace {

// One known failure: its code, the generic text its source gives for it (in
// English; nullptr for the code's default), and what the user reads.
struct Row {
    int code;
    const char* generic;
    const char* chinese;
};

QString normalised(QString text)
{
    text = text.trimmed();
    while (text.endsWith(QLatin1Char('.')) || text.endsWith(QChar(0x3002)))
        text.chop(1);
    return text.toCaseFolded();
}

// Whether detail is only the generic text, in English or as Qt's loaded translation renders it.
bool isGeneric(const QString& detail, const char* generic, std::initializer_list<const char*> contexts)
{
    if (!generic)
        return false;
    const QString d = normalised(detail);
    if (d == normalised(QString::fromLatin1(generic)))
        return true;
    for (const char* context : contexts) {
        if (d == normalised(QCoreApplication::translate(context, generic)))
            return true;
    }
    return false;
}

QString withDetail(const QString& chinese, const QString& detail)
{
    const QString d = detail.trimmed();
    if (d.isEmpty() || normalised(d) == normalised(chinese))
        return chinese;
    return chinese + QStringLiteral("（") + d + QStringLiteral("）");
}

// The row whose generic text the detail is, else the code's default row with the detail attached.
template <size_t N>
QString lookUp(const Row (&rows)[N], int code, const QString& detail, const char* fallback,
               std::initializer_list<const char*> contexts = {})
{
    const Row* byDefault = nullptr;
    for (const Row& r : rows) {
        if (r.code != code)
            continue;
        if (isGeneric(detail, r.generic, contexts))
            return QString::fromUtf8(r.chinese);
        if (!byDefault || !r.generic)
            byDefault = &r;
    }
    return withDetail(QString::fromUtf8(byDefault ? byDefault->chinese : fallback), detail);
}

using QS = QAbstractSocket;
const Row kSocket[] = {
    {QS::ConnectionRefusedError, "Connection refused", "连接被拒绝"},
    {QS::RemoteHostClosedError, "The remote host closed the connection", "远程主机关闭了连接"},
    {QS::RemoteHostClosedError, "Remote host closed", "远程主机关闭了连接"},
    {QS::HostNotFoundError, "Host not found", "找不到主机"},
    {QS::SocketAccessError, "Permission denied", "没有使用网络的权限"},
    {QS::SocketResourceError, "Insufficient resources", "网络资源不足"},
    {QS::SocketResourceError, "Out of resources", "网络资源不足"},
    {QS::SocketTimeoutError, "Socket operation timed out", "连接超时"},
    {QS::SocketTimeoutError, "Connection timed out", "连接超时"},
    {QS::SocketTimeoutError, "Network operation timed out", "连接超时"},
    {QS::NetworkError, nullptr, "网络错误"},
    {QS::NetworkError, "Host unreachable", "主机不可达"},
    {QS::NetworkError, "Network unreachable", "网络不可达"},
    {QS::NetworkError, "Network dropped connection on reset", "网络连接被重置"},
    {QS::NetworkError, "Connection reset by peer", "连接被对方重置"},
    {QS::AddressInUseError, "Address in use", "地址已被占用"},
    {QS::SocketAddressNotAvailableError, "The address is not available", "地址不可用"},
    {QS::UnsupportedSocketOperationError, "Unsupported socket operation", "不支持的网络操作"},
    {QS::OperationError, "Operation on socket is not supported", "网络连接状态不允许这一操作"},
    {QS::TemporaryError, nullptr, "网络暂时不可用"},
    {QS::SslHandshakeFailedError, nullptr, "安全连接握手失败"},
    {QS::ProxyConnectionRefusedError, nullptr, "代理服务器拒绝连接"},
    {QS::ProxyConnectionClosedError, nullptr, "代理服务器关闭了连接"},
    {QS::ProxyConnectionTimeoutError, nullptr, "连接代理服务器超时"},
    {QS::ProxyNotFoundError, nullptr, "找不到代理服务器"},
};

// System reasons, recognised by errno or by the system's own text for it.
const Row kSystem[] = {
    {ENOENT, nullptr, "文件或文件夹不存在"},
    {EACCES, nullptr, "没有访问权限"},
    {EPERM, nullptr, "没有操作权限"},
    {ENOSPC, nullptr, "磁盘已满"},
    {EDQUOT, nullptr, "超出磁盘配额"},
    {EROFS, nullptr, "文件系统是只读的"},
    {EEXIST, nullptr, "文件已存在"},
    {EISDIR, nullptr, "这是一个文件夹，不是文件"},
    {ENOTDIR, nullptr, "路径中有一部分不是文件夹"},
    {ENOTEMPTY, nullptr, "文件夹不是空的"},
    {EBUSY, nullptr, "文件正在被使用"},
    {ENAMETOOLONG, nullptr, "文件名太长"},
    {EMFILE, nullptr, "打开的文件太多"},
    {EIO, nullptr, "读写设备出错"},
    {ENOMEM, nullptr, "内存不足"},
};

using QF = QFileDevice;
const Row kFile[] = {
    {QF::ReadError, nullptr, "读取文件失败"},
    {QF::WriteError, nullptr, "写入文件失败"},
    {QF::FatalError, nullptr, "文件操作出现严重错误"},
    {QF::ResourceError, nullptr, "磁盘空间或系统资源不足"},
    {QF::OpenError, nullptr, "无法打开文件"},
    {QF::AbortError, nullptr, "文件操作被中止"},
    {QF::TimeOutError, nullptr, "文件操作超时"},
    {QF::UnspecifiedError, nullptr, "文件操作失败"},
    {QF::RemoveError, nullptr, "无法删除文件"},
    {QF::RenameError, nullptr, "无法重命名文件"},
    {QF::PositionError, nullptr, "无法定位到文件中的位置"},
    {QF::ResizeError, nullptr, "无法改变文件大小"},
    {QF::PermissionsError, nullptr, "无法修改文件权限"},
    {QF::CopyError, nullptr, "无法复制文件"},
};

// SQLite's primary result codes with the generic text sqlite3_errstr gives for them.
const Row kSqlite[] = {
    {1, "SQL logic error", "数据库语句出错"},
    {3, "access permission denied", "没有访问数据库的权限"},
    {5, "database is locked", "数据库正被其他程序使用"},
    {6, "database table is locked", "数据表被锁定"},
    {7, "out of memory", "内存不足"},
    {8, "attempt to write a readonly database", "数据库是只读的，无法写入"},
    {10, "disk I/O error", "读写数据库文件出错"},
    {11, "database disk image is malformed", "数据库文件已损坏"},
    {13, "database or disk is full", "磁盘已满，无法写入数据库"},
    {14, "unable to open database file", "无法打开数据库文件"},
    {19, "constraint failed", "数据不符合数据库的约束"},
    {26, "file is not a database", "文件不是数据库"},
};

const Row kSqlType[] = {
    {QSqlError::ConnectionError, nullptr, "无法连接数据库"},
    {QSqlError::StatementError, nullptr, "数据库语句出错"},
    {QSqlError::TransactionError, nullptr, "数据库事务失败"},
    {QSqlError::UnknownError, nullptr, "数据库出错"},
};

const Row kZip[] = {
    {ZIP_ER_MULTIDISK, nullptr, "不支持分卷压缩文件"},
    {ZIP_ER_RENAME, nullptr, "无法重命名临时文件"},
    {ZIP_ER_CLOSE, nullptr, "无法完成压缩文件"},
    {ZIP_ER_SEEK, nullptr, "无法定位到压缩文件中的位置"},
    {ZIP_ER_READ, nullptr, "读取文件失败"},
    {ZIP_ER_WRITE, nullptr, "写入压缩文件失败"},
    {ZIP_ER_CRC, nullptr, "压缩文件校验出错"},
    {ZIP_ER_ZIPCLOSED, nullptr, "压缩文件已关闭"},
    {ZIP_ER_NOENT, nullptr, "文件不存在"},
    {ZIP_ER_EXISTS, nullptr, "文件已存在"},
    {ZIP_ER_OPEN, nullptr, "无法打开文件"},
    {ZIP_ER_TMPOPEN, nullptr, "无法建立临时文件"},
    {ZIP_ER_ZLIB, nullptr, "压缩数据出错"},
    {ZIP_ER_MEMORY, nullptr, "内存不足"},
    {ZIP_ER_CHANGED, nullptr, "文件在压缩过程中被改动"},
    {ZIP_ER_COMPNOTSUPP, nullptr, "不支持的压缩方法"},
    {ZIP_ER_EOF, nullptr, "压缩文件不完整"},
    {ZIP_ER_INVAL, nullptr, "参数无效"},
    {ZIP_ER_NOZIP, nullptr, "不是 zip 压缩文件"},
    {ZIP_ER_INTERNAL, nullptr, "压缩程序内部错误"},
    {ZIP_ER_INCONS, nullptr, "压缩文件已损坏"},
    {ZIP_ER_REMOVE, nullptr, "无法删除文件"},
    {ZIP_ER_DELETED, nullptr, "压缩文件中的条目已被删除"},
    {ZIP_ER_ENCRNOTSUPP, nullptr, "不支持的加密方法"},
    {ZIP_ER_RDONLY, nullptr, "压缩文件是只读的"},
    {ZIP_ER_NOPASSWD, nullptr, "缺少密码"},
    {ZIP_ER_WRONGPASSWD, nullptr, "密码错误"},
    {ZIP_ER_OPNOTSUPP, nullptr, "不支持的操作"},
    {ZIP_ER_INUSE, nullptr, "资源仍在使用中"},
    {ZIP_ER_TELL, nullptr, "无法读取压缩文件中的位置"},
    {ZIP_ER_COMPRESSED_DATA, nullptr, "压缩数据无效"},
    {ZIP_ER_CANCELLED, nullptr, "操作已取消"},
};

const Row* systemRow(int errorNumber)
{
    for (const Row& r : kSystem) {
        if (r.code == errorNumber)
            return &r;
    }
    return nullptr;
}

// The errno whose system text the detail is, or 0.
int errnoOfText(const QString& detail)
{
    const QString d = normalised(detail);
    if (d.isEmpty())
        return 0;
    for (const Row& r : kSystem) {
        if (d == normalised(QString::fromLocal8Bit(std::strerror(r.code))))
            return r.code;
    }
    return 0;
}

} // namespace

namespace ErrorText {

QString socket(QAbstractSocket::SocketError error, const QString& detail)
{
    return lookUp(kSocket, error, detail, "网络错误", {"QAbstractSocket", "QNativeSocketEngine", "QHostInfoAgent"});
}

QString system(int errorNumber)
{
    if (const Row* r = systemRow(errorNumber))
        return QString::fromUtf8(r->chinese);
    return withDetail(QStringLiteral("系统错误"), QString::fromLocal8Bit(std::strerror(errorNumber)));
}

QString file(QFileDevice::FileError error, const QString& detail)
{
    if (const int e = errnoOfText(detail))
        return system(e);
    return lookUp(kFile, error, detail, "文件操作失败");
}

QString file(const QFileDevice& device)
{
    return file(device.error(), device.errorString());
}

QString sql(const QSqlError& error)
{
    const QString detail = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff; // extended codes keep the primary in the low byte
    if (numeric) {
        for (const Row& r : kSqlite) {
            if (r.code == code)
                return isGeneric(detail, r.generic, {}) ? QString::fromUtf8(r.chinese)
                                                        : withDetail(QString::fromUtf8(r.chinese), detail);
        }
    }
    return lookUp(kSqlType, error.type(), detail, "数据库出错");
}

QString zip(int zipError, int systemError)
{
    const QString text = lookUp(kZip, zipError, QString(), "压缩文件出错");
    if (systemError == 0)
        return text;
    return withDetail(text, system(systemError));
}

QString zip(const zip_error_t* error)
{
    const int sysError = zip_error_system_type(error) == ZIP_ET_SYS ? zip_error_code_system(error) : 0;
    return zip(zip_error_code_zip(error), sysError);
}

} // namespace ErrorText
