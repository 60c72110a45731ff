#pragma once
// Include files read from disk: regular files only, the whole file split into lines at CR LF, CR or LF.
#include "UploadInterfaces.h"

namespace kes {

class IncludeFileReader : public UploadFiles {
public:
    IncludeRead ReadLines(const std::string& path, std::vector<std::string>& lines) override;
    std::string SystemName(const std::string& path) override;
};

}  // namespace kes
