#pragma once
#include <string>

// A language text holds the same words in several languages, separated by "||":
// part 0 Chinese, part 1 English, part 2 a slot for a further language.

// The index-th part of the text split at the separator, or the empty text.
std::string TextPart(const std::string& text, const std::string& separator, int index);

// The part for the language index; the whole text when that part is empty or missing,
// and "Text error!" for an empty text.
std::string ChooseLangText(const std::string& text, int index);

// The built-in texts, byte for byte.
namespace LangText {
inline constexpr const char* kProgress = "当前进度:%1||Current progress:%1||<其它>";
inline constexpr const char* kBoard = "第%1副||No %1 board||<其它>";
inline constexpr const char* kTitle = "Velmor大屏显示|| Quendal screen display||<其它>";
inline constexpr const char* kScreenSize = "屏幕大小=||Screen size=||<其它>";
inline constexpr const char* kRightClickHint = "点右键切换到全屏||Right click to full screen.||<其它>";
inline constexpr const char* kNotListening = "无法监听端口%1||Not listening on port %1||<其它>";
inline constexpr const char* kListeningPort = "端口=%1||Port=%1||<其它>";
inline constexpr const char* kMenuFullScreen = "全屏   ||Full screen   ||<其它>";
inline constexpr const char* kMenuExit = "退出   ||Exit   ||<其它>";
}  // namespace LangText
