#include "shell/ToolbarCommand.h"

using namespace Qt::StringLiterals;

namespace MakerPages {

QUrl update()
{
    return QUrl(u"https://www.vellumore.example/update?version=7.2"_s);
}

QUrl examNews()
{
    return QUrl(u"https://www.vellumore.example/news/"_s);
}

QUrl onlineExam()
{
    return QUrl(u"https://exam.vellumore.example/"_s);
}

QUrl books()
{
    return QUrl(u"https://shop.vellumore.example/books/"_s);
}

QUrl courses()
{
    return QUrl(u"https://shop.vellumore.example/courses/"_s);
}

} // namespace MakerPages

QStringList ToolbarCommand::keys()
{
    return { u"mlkc"_s, u"tj"_s, u"sc"_s, u"sj"_s, u"ksxx"_s, u"lm"_s, u"ts"_s, u"fd"_s, u"bz"_s, u"jsq"_s };
}

QString ToolbarCommand::caption(const QString& key)
{
    static const QStringList captions { u"模拟考场"_s, u"统计分析"_s, u"收藏夹"_s, u"软件升级"_s, u"考试信息"_s,
                                        u"在线模考"_s, u"考试图书"_s, u"网上课程"_s, u"帮助"_s, u"计算器"_s };
    const int index = keys().indexOf(key);
    return index < 0 ? QString() : captions[index];
}

ToolbarCommand ToolbarCommand::forKey(const QString& key)
{
    if (key == u"mlkc"_s)
        return { ExamSettings, {} };
    if (key == u"tj"_s)
        return { Statistics, {} };
    if (key == u"sj"_s)
        return { UpdatePage, MakerPages::update() };
    if (key == u"ksxx"_s)
        return { Page, MakerPages::examNews() };
    if (key == u"lm"_s)
        return { Page, MakerPages::onlineExam() };
    if (key == u"ts"_s)
        return { Page, MakerPages::books() };
    if (key == u"fd"_s)
        return { Page, MakerPages::courses() };
    if (key == u"bz"_s)
        return { Help, {} };
    if (key == u"jsq"_s)
        return { Calculator, {} };
    return {};
}
