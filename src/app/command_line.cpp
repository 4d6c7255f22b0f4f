#include "app/command_line.h"

#include "pictures/picture_limits.h"

#include <functional>
#include <map>
#include <set>

namespace tilemond::app {
namespace {

// Splits "--name=value" into its parts; other words come back whole.
std::pair<QString, std::optional<QString>> splitAssignment(const QString& word)
{
    const qsizetype equals = word.indexOf('=');
    if (!word.startsWith(QLatin1String("--")) || equals < 0)
        return {word, std::nullopt};
    return {word.left(equals), word.mid(equals + 1)};
}

std::optional<int> wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// "200,400" -> {200, 400}; every position a whole pixel above 0.
std::optional<std::vector<int>> cutList(const QString& text)
{
    std::vector<int> cuts;
    for (const QString& part : text.split(',')) {
        const auto value = wholeNumber(part.trimmed());
        if (!value || *value <= 0)
            return std::nullopt;
        cuts.push_back(*value);
    }
    return cuts;
}

class SplitParser
{
public:
    explicit SplitParser(SplitOptions& options) : m_options(options) {}

    Outcome<void> parse(const QStringList& arguments)
    {
        bool optionsEnded = false;
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            if (!optionsEnded && arguments[i] == QLatin1String("--")) {
                optionsEnded = true;
                continue;
            }
            const auto [name, inlineValue] =
                optionsEnded ? std::pair{arguments[i], std::optional<QString>()}
                             : splitAssignment(arguments[i]);
            if (optionsEnded || !name.startsWith('-') || name == QLatin1String("-")) {
                if (!m_options.page.isEmpty())
                    return Unexpected(
                        QStringLiteral("split takes one PAGE, but '%1' is a second one").arg(name));
                m_options.page = name;
                continue;
            }
            if (const auto flag = m_flags.find(name); flag != m_flags.end()) {
                if (inlineValue)
                    return Unexpected(QStringLiteral("%1 takes no value").arg(name));
                *flag->second = true;
                continue;
            }
            QString value;
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else if (valued().contains(name)) {
                return Unexpected(QStringLiteral("%1 needs a value").arg(name));
            }
            if (Outcome<void> taken = take(name, value); !taken)
                return taken;
        }
        return finish();
    }

private:
    using Take = std::function<Outcome<void>(const QString&)>;

    std::map<QString, Take> valued()
    {
        return {
            {QStringLiteral("--image"),
             [this](const QString& v) -> Outcome<void> {
                 const auto n = wholeNumber(v);
                 if (!n || *n < 0)
                     return Unexpected(
                         QStringLiteral("--image needs a picture number from 0 on, not '%1'")
                             .arg(v));
                 m_options.image = *n;
                 return {};
             }},
            {QStringLiteral("--id"),
             [this](const QString& v) -> Outcome<void> {
                 if (v.isEmpty())
                     return Unexpected(QStringLiteral("--id needs the id of a picture"));
                 m_options.id = v;
                 return {};
             }},
            {QStringLiteral("--picture"),
             [this](const QString& v) -> Outcome<void> {
                 if (v.isEmpty())
                     return Unexpected(QStringLiteral("--picture needs a picture file"));
                 m_options.picture = v;
                 return {};
             }},
            {QStringLiteral("--vertical"),
             [this](const QString& v) -> Outcome<void> {
                 return takeCuts("--vertical", v, m_options.vertical);
             }},
            {QStringLiteral("--horizontal"),
             [this](const QString& v) -> Outcome<void> {
                 return takeCuts("--horizontal", v, m_options.horizontal);
             }},
            {QStringLiteral("--format"),
             [this](const QString& v) -> Outcome<void> {
                 const auto type = host::pictureTypeNamed(v);
                 if (!type)
                     return Unexpected(
                         QStringLiteral("--format needs png, jpeg, webp or auto, not '%1'").arg(v));
                 m_options.pictures.type = *type;
                 return {};
             }},
            {QStringLiteral("--quality"),
             [this](const QString& v) -> Outcome<void> {
                 const auto quality = wholeNumber(v);
                 if (!quality || !host::isQuality(*quality))
                     return Unexpected(
                         QStringLiteral("--quality needs a whole number from %1 to %2, not "
                                        "'%3'")
                             .arg(host::PictureFormat::LowestQuality)
                             .arg(host::PictureFormat::HighestQuality)
                             .arg(v));
                 m_options.pictures.quality = *quality;
                 return {};
             }},
            {QStringLiteral("--viewport"),
             [this](const QString& v) -> Outcome<void> {
                 const auto width = wholeNumber(v);
                 if (!width || *width < 0 || *width > 16384)
                     return Unexpected(
                         QStringLiteral("--viewport needs a width in pixels from 0 to 16384, "
                                        "not '%1'")
                             .arg(v));
                 m_options.viewport = *width;
                 return {};
             }},
            {QStringLiteral("--output"),
             [this](const QString& v) -> Outcome<void> {
                 if (v.isEmpty())
                     return Unexpected(QStringLiteral("--output needs a file name"));
                 m_options.output = v;
                 return {};
             }},
        };
    }

    Outcome<void> take(const QString& name, const QString& value)
    {
        const auto options = valued();
        const auto found = options.find(name);
        if (found == options.end())
            return Unexpected(QStringLiteral("unknown option '%1'").arg(name));
        if (!m_seen.insert(name).second)
            return Unexpected(QStringLiteral("%1 is given twice").arg(name));
        return found->second(value);
    }

    static Outcome<void> takeCuts(const char* name, const QString& value, std::vector<int>& cuts)
    {
        const auto parsed = cutList(value);
        if (!parsed)
            return Unexpected(
                QStringLiteral("%1 needs whole pixel positions above 0 such as 100,250, not "
                               "'%2'")
                    .arg(QLatin1String(name), value));
        cuts = *parsed;
        return {};
    }

    Outcome<void> finish() const
    {
        if (m_options.page.isEmpty())
            return Unexpected(QStringLiteral("split needs a PAGE"));
        const int chosen = int(m_options.image.has_value()) + int(m_options.id.has_value()) +
                           int(m_options.picture.has_value());
        if (chosen != 1)
            return Unexpected(
                QStringLiteral("split needs exactly one of --image, --id and --picture"));
        return {};
    }

    SplitOptions& m_options;
    const std::map<QString, bool*> m_flags = {{QStringLiteral("--table"), &m_options.table},
                                              {QStringLiteral("--check"), &m_options.check},
                                              {QStringLiteral("--verify"), &m_options.verify}};
    std::set<QString> m_seen;
};

// Takes --max-pixels N out of the arguments, for the desktop and split alike.
Outcome<void> takeMaxPixels(QStringList& arguments, std::optional<qint64>& maxPixels)
{
    for (qsizetype i = 0; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        const auto [name, inlineValue] = splitAssignment(arguments[i]);
        if (name != QLatin1String("--max-pixels"))
            continue;
        if (maxPixels)
            return Unexpected(QStringLiteral("--max-pixels is given twice"));
        if (!inlineValue && i + 1 >= arguments.size())
            return Unexpected(QStringLiteral("--max-pixels needs a value"));
        const QString value = inlineValue ? *inlineValue : arguments[i + 1];
        arguments.remove(i, inlineValue ? 1 : 2);
        --i;
        bool ok = false;
        const qint64 pixels = value.toLongLong(&ok);
        if (!ok || pixels < 1 || pixels > kHighestMaxPicturePixels)
            return Unexpected(
                QStringLiteral("--max-pixels needs a number of pixels from 1 to %1, not '%2'")
                    .arg(kHighestMaxPicturePixels)
                    .arg(value));
        maxPixels = pixels;
    }
    return {};
}

} // namespace

Outcome<CommandLine> parseCommandLine(const QStringList& given)
{
    CommandLine line;
    QStringList arguments = given;
    if (Outcome<void> taken = takeMaxPixels(arguments, line.maxPixels); !taken)
        return Unexpected(taken.error());
    // After "--" every word is a name, even one that looks like an option.
    const QStringList options = arguments.mid(0, arguments.indexOf(QLatin1String("--")));
    if (options.contains(QLatin1String("--help")) || options.contains(QLatin1String("-h"))) {
        line.command = Command::Help;
        return line;
    }
    if (options.contains(QLatin1String("--version"))) {
        line.command = Command::Version;
        return line;
    }
    if (arguments.isEmpty())
        return line;

    const bool named = arguments.first() == QLatin1String("--") && arguments.size() > 1;
    const QString& first = arguments[named ? 1 : 0];
    const QStringList rest = arguments.mid(named ? 2 : 1);
    if (first == QLatin1String("split") && !named) {
        line.command = Command::Split;
        if (Outcome<void> parsed = SplitParser(line.split).parse(rest); !parsed)
            return Unexpected(parsed.error());
    } else if (!named &&
               (first == QLatin1String("register") || first == QLatin1String("unregister"))) {
        line.command = first == QLatin1String("register") ? Command::Register : Command::Unregister;
        if (!rest.isEmpty())
            return Unexpected(
                QStringLiteral("%1 takes no arguments, but got '%2'").arg(first, rest[0]));
    } else if (first.startsWith('-') && !named) {
        return Unexpected(QStringLiteral("unknown option '%1'").arg(first));
    } else if (!rest.isEmpty()) {
        return Unexpected(
            QStringLiteral("the desktop opens one PAGE, but '%1' is a second one").arg(rest[0]));
    } else {
        line.page = first;
    }
    return line;
}

QString usageText()
{
    return QStringLiteral(
        "Usage:\n"
        "  tilemond [--max-pixels N] [[--] PAGE]\n"
        "      The desktop page host with the Tessora Tilemond add-in; Korvi Tessora >\n"
        "      Tessora Tilemond cuts the selected picture.\n"
        "  tilemond split PAGE (--image N | --id ID | --picture FILE)\n"
        "                 [--vertical X,...] [--horizontal Y,...] [--table] [--output OUT]\n"
        "                 [--format png|jpeg|webp|auto] [--quality Q] [--viewport W]\n"
        "                 [--check | --verify] [--max-pixels N]\n"
        "      Cuts a picture of PAGE without a desktop and saves the page. Every word\n"
        "      after -- is a name: tilemond split --image 0 -- -x.html\n"
        "        --image N       the picture number N (0 is the first) of the page\n"
        "        --id ID         the picture with this id\n"
        "        --picture FILE  a picture file; the pieces go to the end of the page\n"
        "        --vertical X,.. --horizontal Y,..\n"
        "                        cut positions in pixels of the picture as the page shows\n"
        "                        it, strictly inside it\n"
        "        --viewport W    the page is shown as in a browser window W pixels wide\n"
        "                        (default 1280): a page whose style sheets, style attributes\n"
        "                        or percentages may size the picture is laid out by a\n"
        "                        browser engine first (about a second); other pages, and\n"
        "                        all with --viewport 0, by the picture's width and height\n"        "        --check         after the split, the browser engine paints the page before\n"
        "                        and after, and tilemond says whether the picture's place\n"
        "                        shows exactly as before (\"seamless\") or where and by how\n"
        "                        much it differs (about two seconds more)\n"
        "        --verify        the same, and a difference exits with 1\n"
        "        --table         pieces as the cells of a borderless table (else lines)\n"
        "        --output OUT    write the page to OUT (pieces in OUT's folder) and leave\n"
        "                        PAGE as it is; without it PAGE is saved in place\n"
        "        --format TYPE   the pieces' files: png (the default, every pixel kept;\n"
        "                        indexed where that is smaller), jpeg, webp, or auto\n"
        "                        (png for at most 256 colours or see-through pixels,\n"
        "                        else jpeg)\n"
        "        --quality Q     1 to 100 (default 90) for jpeg, webp and auto's jpegs;\n"
        "                        webp at 100 keeps every pixel\n"
        "        --max-pixels N  read pictures of up to N pixels (default 33554432, that is\n"
        "                        5792 x 5792; at most 1073741824); larger are refused\n"
        "  tilemond register | unregister\n"
        "      Registers or removes the add-in with the page host.\n"
        "  tilemond --help | --version\n"
        "\n"
        "Exit status: 0 done, 1 failure, 2 usage error.\n");
}

QString versionText()
{
    return QStringLiteral("tilemond %1\n").arg(QStringLiteral(TILEMOND_VERSION));
}

} // namespace tilemond::app
