#include "data/ui/BankMessages.h"

#include <QDir>

namespace BankMessages {
namespace {

using Kind = StoreFailure::Kind;

QString quoted(const QString& path)
{
    return QStringLiteral("“%1”").arg(QDir::toNativeSeparators(path));
}

// A statement's failure: the kind of fault, then the engine's words.
QString statementReason(Kind kind, const StoreFailure& failure)
{
    QString why;
    switch (kind) {
    case Kind::ReadOnly:
        why = QStringLiteral("题库文件是只读的，不能写入");
        break;
    case Kind::Busy:
        why = QStringLiteral("题库正被另一个程序使用，等待 %1 秒后仍未释放")
                  .arg(failure.busyTimeoutMs / 1000.0);
        break;
    case Kind::DiskFull:
        why = QStringLiteral("磁盘空间已满");
        break;
    case Kind::IoError:
        why = QStringLiteral("读写题库文件时出错");
        break;
    case Kind::Corrupt:
        why = QStringLiteral("题库文件已损坏");
        break;
    case Kind::CannotOpen:
        why = QStringLiteral("无法打开题库文件");
        break;
    default:
        why = QStringLiteral("数据库错误");
        break;
    }
    return why + QStringLiteral("（") + failure.engineText + QStringLiteral("）");
}

} // namespace

QString reason(const StoreFailure& failure)
{
    switch (failure.kind) {
    case Kind::None:
        return {};
    case Kind::NotOpen:
        return QStringLiteral("题库没有打开");
    case Kind::ReadOnly:
    case Kind::Busy:
    case Kind::DiskFull:
    case Kind::IoError:
    case Kind::Corrupt:
    case Kind::CannotOpen:
    case Kind::Other:
        return statementReason(failure.kind, failure);
    case Kind::NotAFile:
        return QStringLiteral("这不是一个文件");
    case Kind::FileMissing:
        return QStringLiteral("文件不存在");
    case Kind::ZeroBytes:
        return QStringLiteral("文件是空的（0 字节），不含任何题库数据表");
    case Kind::PlainDatabase:
        return QStringLiteral("这是一个未加密的数据库文件，不是 Vellumore 题库");
    case Kind::ForeignJournal:
        return QStringLiteral(
            "题库旁的日志文件%1不属于这个题库（可能是另一个题库留下的），打开题库会用它改写题库内容。"
            "题库没有被打开，日志文件也没有删除；请把它移走后再打开题库")
            .arg(quoted(failure.path));
    case Kind::FileNotWritable:
        return QStringLiteral("题库文件是只读的，不能写入");
    case Kind::FolderNotWritable:
        return QStringLiteral("题库所在的文件夹%1不能写入，无法建立写入时需要的日志文件")
            .arg(quoted(failure.path));
    case Kind::CannotOpenFile:
        return QStringLiteral("无法打开文件（%1）").arg(failure.engineText);
    case Kind::CannotDecrypt:
        return QStringLiteral("文件无法解密：它不是 Vellumore 题库、密码不符或文件头已损坏");
    case Kind::NeedsRecovery:
        return QStringLiteral("题库有一次中断的写入需要用日志文件%1恢复，但题库只能只读打开，无法恢复")
            .arg(quoted(failure.path));
    case Kind::Damaged:
        return QStringLiteral("文件已损坏（%1）").arg(failure.engineText);
    case Kind::NoPages:
        return QStringLiteral("文件是空的，不含任何题库数据表");
    case Kind::Truncated:
        return QStringLiteral("文件已损坏：它比记录的长度短，可能没有写完整");
    case Kind::MissingTables:
        return QStringLiteral("文件中缺少题库数据表：%1").arg(failure.tables.join(QStringLiteral("、")));
    case Kind::TooNew:
        return QStringLiteral("题库由更新版本的 Vellumore 创建（版本 %1），请升级程序").arg(failure.version);
    case Kind::DurabilityNotSet:
        return QStringLiteral("无法设置题库的写入方式（%1）").arg(statementReason(failure.cause, failure));
    case Kind::UpgradeFailed:
        return QStringLiteral("题库无法升级到当前版本（%1）").arg(statementReason(failure.cause, failure));
    case Kind::AlreadyExists:
        return QStringLiteral("文件已存在");
    case Kind::CannotCreate:
        return failure.engineText;
    }
    return {};
}

QString reason(const WriteResult& result)
{
    return result.failure().isFailure() ? reason(result.failure()) : result.ownReason();
}

QString notStored(const QString& what, const WriteResult& result)
{
    return QStringLiteral(
        "%1没有保存到题库。\n\n原因：%2。\n\n您输入的内容仍留在屏幕上，排除问题后可以再试一次。")
        .arg(what, reason(result));
}

} // namespace BankMessages
