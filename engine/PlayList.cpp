#include "engine/PlayList.h"

#include "engine/SaveJob.h"

namespace engine {

int HandlePlayList(SaveHost&, SaveJob& job, const std::string& url, const std::string&, int32_t) {
    job.AppendLog("    プレイリスト: " + url + "（メディアは保存しません）");
    return 0;
}

}  // namespace engine
