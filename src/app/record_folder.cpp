// The record folder of this run and the one-time copy of records from the data folder.
#include "app/record_folder.h"

#include <cstdio>
#include <iterator>

#include "modes/endless/endless.h"
#include "platform/files.h"

std::string SetUpRecordFolder(const platform::UserEnvironment& env,
                              const platform::WritableCheck& writable) {
    const std::string beside = platform::DataPath("./notepad");
    const std::string folder = platform::ChooseRecordFolder(platform::DataRoot(), env, writable);
    platform::SetRecordFolder(folder);
    if (folder == beside) return folder;
    std::vector<std::string> failed;
    std::vector<std::string> copied = platform::CopyRecordsOnce(
        beside, folder, {std::begin(kRecordFileNames), std::end(kRecordFileNames)}, failed);
    for (const std::string& name : copied)
        std::fprintf(stderr, "tessarune: record file '%s' copied from %s to %s\n", name.c_str(),
                     beside.c_str(), folder.c_str());
    for (const std::string& name : failed)
        std::fprintf(stderr, "tessarune: cannot copy record file '%s' from %s to %s\n",
                     name.c_str(), beside.c_str(), folder.c_str());
    return folder;
}
