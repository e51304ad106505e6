#include "package.h"

#include <zip.h>

#include <cstdio>

#include "rtl/errors.h"

namespace sheet::detail {

std::vector<Part> readPackage(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive) throw rtl::FileError(rtl::msg::cannotOpenFile(path), path);
    std::vector<Part> parts;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, i, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE)) {
            zip_discard(archive);
            throw rtl::FileError(rtl::msg::cannotReadFile(path), path);
        }
        Part part;
        part.name = st.name;
        if (!part.name.empty() && part.name.back() == '/') continue;  // a folder entry
        part.data.resize(static_cast<qsizetype>(st.size));
        zip_file_t* file = zip_fopen_index(archive, i, 0);
        const zip_int64_t got = file ? zip_fread(file, part.data.data(), st.size) : -1;
        if (file) zip_fclose(file);
        if (got != static_cast<zip_int64_t>(st.size)) {
            zip_discard(archive);
            throw rtl::FileError(rtl::msg::cannotReadFile(path), path);
        }
        parts.push_back(std::move(part));
    }
    zip_discard(archive);  // opened read only: nothing to write back
    return parts;
}

void writePackage(const std::string& path, const std::vector<Part>& parts) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) throw rtl::FileError(rtl::msg::cannotCreateFile(path), path);
    auto fail = [&] {
        zip_discard(archive);
        std::remove(path.c_str());
        throw rtl::FileError(rtl::msg::cannotWriteFile(path), path);
    };
    for (const Part& part : parts) {
        // libzip reads the buffers when the archive is closed; `parts` outlives that.
        zip_source_t* source =
            zip_source_buffer(archive, part.data.constData(), static_cast<zip_uint64_t>(part.data.size()), 0);
        if (!source) fail();
        if (zip_file_add(archive, part.name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            fail();
        }
    }
    if (zip_close(archive) != 0) fail();
}

}  // namespace sheet::detail
