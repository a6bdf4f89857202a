// A template package (.tpk) from a stranger on any bytes: the reader checks
// and reads it without writing anything. Never a crash, a leak or a hang.
#include "fuzz_support.h"
#include "templates/template_package.h"

using namespace billprint;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::writeInput(QStringLiteral("input.tpk"), data, size);
    QString error;
    const std::unique_ptr<TemplatePackage> package = TemplatePackage::read(path, &error);
    if (!package) {
        FUZZ_CHECK(!error.isEmpty(), "a refused package names its reason");
        return 0;
    }
    FUZZ_CHECK(package->templates().size() <= size_t(TemplatePackage::MaxTemplates), "the template limit holds");
    for (const PackageTemplate &t : package->templates()) {
        FUZZ_CHECK(t.picture.size() <= TemplatePackage::MaxPictureBytes, "the picture limit holds");
        FUZZ_CHECK(package->find(t.shownName()) != nullptr, "every template is found by its shown name");
    }
    return 0;
}
