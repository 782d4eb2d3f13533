#pragma once
#include <json/value.h>

#include <string>

#include "draw/colour.h"

// Field access. Integers read as the JSON library converts them, truncating fractions,
// with true as 1; anything that cannot be an int32 (a string, array, object, or a number
// out of range) reads as 0, as does a missing or null member. A root that is not an
// object reads every member as missing. Writing 0 removes the member.
int GetIntByName(const Json::Value& value, const std::string& key);
void SetIntByName(Json::Value& value, const std::string& key, int n);
std::string GetStringByName(const Json::Value& value, const std::string& key);

int GetIntField(const Json::Value& value, int key);
void SetIntField(Json::Value& value, int key, int n);
// True only for a JSON integer (no fraction, no exponent, not a boolean) from 1 up.
bool GetBoolField(const Json::Value& value, int key);
std::string GetStringField(const Json::Value& value, int key);

// "r,g,b" as the C library's atoi reads each part, each kept modulo 256.
COLORREF TextToColor(std::string text);

inline constexpr const char* kMsgIdKey = "pub_MsgID";
