#pragma once
#include <string>

#include "text/wide_text.h"

// The server's log lines. A failed system call is written as the text followed directly
// by the error code's digits.
namespace LogText {
inline constexpr const char16_t* kWsaSocketFailed = u" WSASocket() failed";
inline constexpr const char16_t* kCreatePortFailed = u"CreateIoCompletionPort() failed: ";
inline constexpr const char16_t* kProcThreadFailed = u"CreateThread() m_hProcThreadArray failed: ";
inline constexpr const char16_t* kBindFailed = u" bind() failed:";
inline constexpr const char16_t* kListenFailed = u" listen() failed: ";
inline constexpr const char16_t* kPostExit = u"向完成端口句柄发送退出消息!PostQueuedCompletionStatus(m_hCOP, 0, NULL, NULL)";
inline constexpr const char16_t* kListenClosed = u"关闭监听端口!";
inline constexpr const char16_t* kPortClosed = u"关闭完成端口!";
// An accept failed for lack of descriptors; once per spell of failing accepts.
inline constexpr const char16_t* kAcceptSocketFailed = u" WSASocket failed ";
// An accept failed for another reason than lack of descriptors; once per failing spell.
inline constexpr const char16_t* kAcceptFailed = u" accept() failed:";
inline constexpr const char16_t* kSendError = u"WSASend ERROR:";
inline constexpr const char16_t* kFrameTooLarge = u" 帧超过64MiB,关闭连接:";
inline constexpr const char16_t* kHeldTooMuch = u" 接收数据超过256MiB,关闭连接:";

// "在端口%hd建立了监听服务!". Ports above 32767 (every port the system picks for
// --port 0) are written as the port, not as a negative 16-bit number.
inline std::u16string Listening(int port)
{
    return u"在端口" + IntToWide(static_cast<unsigned short>(port)) + u"建立了监听服务!";
}
// "收到一个连接,在本地地址:%ld": the connection's id.
inline std::u16string Accepted(long long id)
{
    return u"收到一个连接,在本地地址:" + Utf8ToWide(std::to_string(id));
}
// A peer outside the allowed addresses, closed as soon as it connected.
inline std::u16string Refused(const std::string& address)
{
    return u"拒绝了不在允许范围内的连接,远程地址:" + Utf8ToWide(address);
}
// A connection ended because its stream announced, or grew to, more than a frame may hold.
inline std::u16string FrameTooLarge(unsigned long long id)
{
    return kFrameTooLarge + Utf8ToWide(std::to_string(id));
}
// A connection ended because everything received and not yet handled passed the limit.
inline std::u16string HeldTooMuch(unsigned long long id)
{
    return kHeldTooMuch + Utf8ToWide(std::to_string(id));
}
// A fixed text followed by an error code.
inline std::u16string WithCode(const char16_t* text, int code)
{
    return text + IntToWide(code);
}
inline std::u16string SendError(int code)
{
    return WithCode(kSendError, code) + std::u16string(99, u'*');
}
}  // namespace LogText
