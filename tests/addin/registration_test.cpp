#include "addin/entry_points.h"
#include "addin_fixture.h"
#include "host/add_in_loader.h"
#include "support/test_file.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QWidget>

namespace tilemond {
namespace {

using namespace host;

const QString Entry = QStringLiteral("%1/TessoraTilemond.Connect").arg(AddInEntry::Key);

using Registration = AddInTest;

// The add-in library as the host loads it: its own entry points, its own objects.
TEST_F(Registration, RegisteredAddInIsConnectedAtStartAndGoneAfterUnregistering)
{
    QLibrary library(TILEMOND_ADDIN_LIBRARY);
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    const auto entry = [&](const char* name) {
        return reinterpret_cast<int (*)()>(library.resolve(name));
    };
    ASSERT_EQ(entry("DllRegisterServer")(), HResult::Ok);
    EXPECT_EQ(QFileInfo(Registry::value(Entry, "Path").toString()).canonicalFilePath(),
              QFileInfo(TILEMOND_ADDIN_LIBRARY).canonicalFilePath());
    {
        AddInLoader loader(host);
        EXPECT_EQ(loader.connectRegistered(), QStringList());
        EXPECT_EQ(loader.connectRegistered(), QStringList()); // connected once only
        EXPECT_EQ(loader.connectedAddIns(), QStringList{"TessoraTilemond.Connect"});
        EXPECT_NE(popup(), nullptr);
        EXPECT_EQ(entry("DllCanUnloadNow")(), HResult::False);
    } // the host closes
    EXPECT_EQ(popup(), nullptr);
    EXPECT_EQ(entry("DllCanUnloadNow")(), HResult::Ok);

    ASSERT_EQ(entry("DllUnregisterServer")(), HResult::Ok);
    EXPECT_EQ(entry("DllUnregisterServer")(), HResult::Ok); // again: nothing left to take out
    AddInLoader loader(host);
    EXPECT_EQ(loader.connectRegistered(), QStringList());
    EXPECT_TRUE(loader.connectedAddIns().isEmpty());
}

TEST_F(Registration, LoaderReportsAddInsItCannotConnect)
{
    const QString qtCore = libraryOf(reinterpret_cast<void*>(&qVersion));
    ASSERT_TRUE(Registry::setValues(AddInEntry::Key + QStringLiteral("/Missing.Library"),
                                    {{"LoadBehavior", 3}, {"Path", dir.filePath("nowhere.so")}}));
    ASSERT_TRUE(Registry::setValues(AddInEntry::Key + QStringLiteral("/No.EntryPoint"),
                                    {{"LoadBehavior", 3}, {"Path", qtCore}}));
    ASSERT_TRUE(Registry::setValues(AddInEntry::Key + QStringLiteral("/Not.AtStart"),
                                    {{"LoadBehavior", 0}, {"Path", dir.filePath("nowhere.so")}}));
    AddInLoader loader(host);
    const QStringList errors = loader.connectRegistered();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].contains("Missing.Library") && errors[0].contains("nowhere.so"));
    EXPECT_TRUE(errors[1].contains("No.EntryPoint") && errors[1].contains("DllGetClassObject"));
    EXPECT_TRUE(loader.connectedAddIns().isEmpty());
}

TEST_F(Registration, BrokenRegistryFileReadsEmptyAndIsNotOverwritten)
{
    QDir().mkpath(Registry::configFolder());
    const QByteArray broken = "[Software\\Microsoft\n\"=\x01\x02\n[Addins\n=3\n";
    writeTestFile(Registry::filePath(), broken);
    EXPECT_TRUE(Registry::subKeys(AddInEntry::Key).isEmpty());
    AddInLoader loader(host);
    EXPECT_TRUE(loader.connectRegistered().isEmpty());
    EXPECT_EQ(DllRegisterServer(), HResult::Fail);
    QFile file(Registry::filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), broken);
}

TEST_F(Registration, ClassObjectsMakeBothMarkersAndNothingUnknown)
{
    ClassFactory* factory = nullptr;
    EXPECT_EQ(DllGetClassObject("TessoraTilemond.Nothing", &factory), HResult::ClassNotAvailable);
    EXPECT_EQ(factory, nullptr);

    QWidget parent;
    for (const char* marker : {"TessoraTilemond.chVSplitter", "TessoraTilemond.ctHSplitter"}) {
        ASSERT_EQ(DllGetClassObject(marker, &factory), HResult::Ok);
        std::unique_ptr<QWidget> control(static_cast<QWidget*>(factory->CreateInstance(&parent)));
        EXPECT_EQ(control->parent(), &parent);
    }
}

} // namespace
} // namespace tilemond
