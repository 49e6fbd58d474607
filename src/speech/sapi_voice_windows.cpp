// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi_voice_windows.h"

#include "speech/sapi_choice.h"

#include <windows.h>

#include <sapi.h>
#include <sphelper.h>
#include <wrl/client.h>

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace meldlux {

namespace {

constexpr DWORD kSliceMs = 50;     // how soon a cancel is seen
constexpr int kPurgeWaitMs = 2000; // how long a purged text may take to fall silent

QString failed(const QString& what, HRESULT hr) {
  return QStringLiteral("%1 (Fehler 0x%2)").arg(what).arg(quint32(hr), 8, 16, QChar(u'0'));
}

// COM once per thread; the speech thread keeps it to its end. A thread that already has an
// apartment of the other kind works in that one (SAPI serves both).
HRESULT comOnThisThread() {
  thread_local const HRESULT hr = [] {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    return result == RPC_E_CHANGED_MODE ? S_OK : result;
  }();
  return hr;
}

QString text(ISpDataKey* key, const wchar_t* value) {
  wchar_t* raw = nullptr;
  if (!key || FAILED(key->GetStringValue(value, &raw)) || !raw)
    return {};
  const QString result = QString::fromWCharArray(raw);
  CoTaskMemFree(raw);
  return result;
}

struct Token {
  ComPtr<ISpObjectToken> token;
  SapiChoice::Installed about;
};

// The tokens of a category; a category that does not exist has none.
std::vector<Token> tokens(const wchar_t* category) {
  std::vector<Token> found;
  ComPtr<IEnumSpObjectTokens> list;
  if (FAILED(SpEnumTokens(category, nullptr, nullptr, &list)) || !list)
    return found;
  ComPtr<ISpObjectToken> token;
  ULONG fetched = 0;
  while (found.size() < 256 && list->Next(1, token.ReleaseAndGetAddressOf(), &fetched) == S_OK &&
         fetched == 1) {
    ComPtr<ISpDataKey> attributes;
    token->OpenKey(L"Attributes", &attributes);
    Token t{token, {text(token.Get(), nullptr), {}}};
    if (t.about.name.isEmpty())
      t.about.name = text(attributes.Get(), L"Name");
    // Else as the registry names it, "…\Tokens\TTS_MS_DE-DE_HEDDA_11.0" (Wine's has only that).
    wchar_t* id = nullptr;
    if (t.about.name.isEmpty() && SUCCEEDED(token->GetId(&id)) && id)
      t.about.name = QString::fromWCharArray(id);
    CoTaskMemFree(id);
    t.about.languages = SapiChoice::languages(text(attributes.Get(), L"Language"));
    found.push_back(std::move(t));
  }
  return found;
}

QList<SapiChoice::Installed> about(const std::vector<Token>& list) {
  QList<SapiChoice::Installed> result;
  for (const Token& t : list)
    result << t.about;
  return result;
}

// The voices SAPI lists, then those of Windows 10's newer speech, which SAPI also drives.
std::vector<Token> installedVoices() {
  std::vector<Token> voices = tokens(SPCAT_VOICES);
  for (Token& t : tokens(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech_OneCore\\Voices"))
    voices.push_back(std::move(t));
  return voices;
}

// The start of the text's stream is told when the sound output reaches it, that is when its first
// sample plays; every engine sends it, unlike word boundaries.
bool streamStarted(ISpVoice* voice) {
  bool started = false;
  SPEVENT event{};
  ULONG fetched = 0;
  while (voice->GetEvents(1, &event, &fetched) == S_OK && fetched == 1) {
    started = started || event.eEventId == SPEI_START_INPUT_STREAM;
    // Only the two stream events are asked for, whose lParam holds nothing to free; be safe.
    if (event.elParamType == SPET_LPARAM_IS_POINTER || event.elParamType == SPET_LPARAM_IS_STRING)
      CoTaskMemFree(reinterpret_cast<void*>(event.lParam));
    else if (event.elParamType == SPET_LPARAM_IS_TOKEN ||
             event.elParamType == SPET_LPARAM_IS_OBJECT)
      reinterpret_cast<IUnknown*>(event.lParam)->Release();
    event = SPEVENT{};
  }
  return started;
}

QString prepare(ISpVoice* voice, const SpeechSettings& settings) {
  const std::vector<Token> voices = installedVoices();
  QString fault;
  const int chosen = SapiChoice::voice(about(voices), settings.voice, fault);
  if (chosen < 0)
    return fault;
  if (const HRESULT hr = voice->SetVoice(voices[size_t(chosen)].token.Get()); FAILED(hr))
    return failed(QStringLiteral("Stimme \"%1\" lässt sich nicht laden")
                      .arg(voices[size_t(chosen)].about.name),
                  hr);
  if (!settings.device.isEmpty()) {
    const std::vector<Token> outputs = tokens(SPCAT_AUDIOOUT);
    auto it = std::find_if(outputs.begin(), outputs.end(), [&](const Token& t) {
      return t.about.name.contains(settings.device, Qt::CaseInsensitive);
    });
    if (it == outputs.end())
      return QStringLiteral("Tonausgabe \"%1\" nicht gefunden").arg(settings.device);
    if (const HRESULT hr = voice->SetOutput(it->token.Get(), TRUE); FAILED(hr))
      return failed(QStringLiteral("Tonausgabe nicht verfügbar"), hr);
  }
  voice->SetRate(SapiChoice::rate(settings.rate));
  voice->SetVolume(USHORT(SapiChoice::volume(settings.volume)));
  const ULONGLONG interest = SPFEI(SPEI_START_INPUT_STREAM) | SPFEI(SPEI_END_INPUT_STREAM);
  if (const HRESULT hr = voice->SetInterest(interest, interest); FAILED(hr))
    return failed(QStringLiteral("Windows-Sprachausgabe meldet nichts"), hr);
  return {};
}

} // namespace

QString SapiVoice::speak(const QString& text, const SpeechSettings& settings,
                         const std::atomic_bool& cancel, const std::function<void()>& firstSample) {
  if (const HRESULT hr = comOnThisThread(); FAILED(hr))
    return failed(QStringLiteral("COM nicht bereit"), hr);
  ComPtr<ISpVoice> voice;
  if (const HRESULT hr = CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                          reinterpret_cast<void**>(voice.GetAddressOf()));
      FAILED(hr))
    return failed(QStringLiteral("Windows-Sprachausgabe (SAPI) nicht vorhanden"), hr);
  if (QString fault = prepare(voice.Get(), settings); !fault.isEmpty())
    return fault;

  const std::wstring wide = text.toStdWString();
  if (const HRESULT hr = voice->Speak(wide.c_str(), SPF_ASYNC | SPF_IS_NOT_XML, nullptr);
      FAILED(hr))
    return failed(QStringLiteral("Windows-Sprachausgabe kann nicht sprechen"), hr);

  // Even the slowest speed reads far faster than this; past it the engine hangs, and the queue
  // must go on.
  const qint64 boundMs = 30000 + qint64(text.size()) * 600;
  QElapsedTimer waited;
  waited.start();
  bool started = false;
  for (;;) {
    const HRESULT hr = voice->WaitUntilDone(kSliceMs);
    if (!started && streamStarted(voice.Get())) {
      started = true;
      if (firstSample)
        firstSample();
    }
    if (hr == S_OK)
      break;
    if (FAILED(hr))
      return failed(QStringLiteral("Windows-Sprachausgabe bricht ab"), hr);
    if (cancel || waited.elapsed() > boundMs) {
      voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
      voice->WaitUntilDone(kPurgeWaitMs);
      return cancel ? QString() : QStringLiteral("Windows-Sprachausgabe antwortet nicht");
    }
  }
  // A text whose speaking failed on the way (the sound output, say) ends too; SAPI keeps why.
  SPVOICESTATUS status{};
  if (SUCCEEDED(voice->GetStatus(&status, nullptr)) && FAILED(status.hrLastResult))
    return failed(QStringLiteral("Tonausgabe nicht verfügbar"), status.hrLastResult);
  return {};
}

} // namespace meldlux
