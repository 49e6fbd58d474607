// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/espeak_voice_posix.h"

#include <espeak-ng/espeak_ng.h>
#include <pcaudiolib/audio.h>

namespace meldlux {

namespace {

int onSamples(short* samples, int count, espeak_EVENT* events) {
  const auto* sink = static_cast<const EspeakVoice::Sink*>(events ? events->user_data : nullptr);
  if (!sink || !samples || count <= 0)
    return 0;
  return (*sink)(samples, count) ? 0 : 1;
}

QString statusText(espeak_ng_STATUS status) {
  char text[512] = {};
  espeak_ng_GetStatusCodeMessage(status, text, sizeof text);
  return QString::fromLocal8Bit(text);
}

} // namespace

EspeakVoice::EspeakVoice() = default;

EspeakVoice::~EspeakVoice() {
  if (initialised_)
    espeak_ng_Terminate();
}

QString EspeakVoice::start(const SpeechSettings& settings) {
  if (!initialised_ && initFault_.isEmpty()) {
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    if (status != ENS_OK) {
      initFault_ = QStringLiteral("espeak-ng nicht bereit: ") + statusText(status);
      espeak_ng_ClearErrorContext(&context);
    } else if (espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) != ENS_OK) {
      initFault_ = QStringLiteral("espeak-ng liefert keine Tondaten");
    } else {
      espeak_SetSynthCallback(onSamples);
      sampleRate_ = espeak_ng_GetSampleRate();
      initialised_ = true;
    }
  }
  if (!initFault_.isEmpty())
    return initFault_;
  if (espeak_ng_SetVoiceByName(settings.voice.toUtf8().constData()) != ENS_OK)
    return QStringLiteral("Stimme \"%1\" nicht gefunden").arg(settings.voice);
  espeak_SetParameter(espeakRATE, settings.rate, 0);
  espeak_SetParameter(espeakVOLUME, settings.volume, 0);
  return {};
}

QString EspeakVoice::synthesize(const QString& text, const SpeechSettings& settings,
                                const Sink& sink) {
  if (QString fault = start(settings); !fault.isEmpty())
    return fault;
  const QByteArray utf8 = text.toUtf8();
  const espeak_ng_STATUS status =
      espeak_ng_Synthesize(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                           espeakCHARS_UTF8, nullptr, const_cast<Sink*>(&sink));
  if (status != ENS_OK)
    return QStringLiteral("espeak-ng: ") + statusText(status);
  return {};
}

QString EspeakVoice::speak(const QString& text, const SpeechSettings& settings,
                           const std::atomic_bool& cancel,
                           const std::function<void()>& firstSample) {
  if (QString fault = start(settings); !fault.isEmpty())
    return fault;
  const QByteArray device = settings.device.toUtf8();
  audio_object* out = create_audio_device_object(device.isEmpty() ? nullptr : device.constData(),
                                                 "Meldlux", "Alarmansage");
  if (!out)
    return QStringLiteral("Keine Tonausgabe gefunden");
  QString fault;
  if (const int error = audio_object_open(out, AUDIO_OBJECT_FORMAT_S16LE, uint32_t(sampleRate_), 1);
      error != 0) {
    fault = QStringLiteral("Tonausgabe nicht verfügbar: ") +
            QString::fromLocal8Bit(audio_object_strerror(out, error));
    audio_object_destroy(out);
    return fault;
  }
  bool first = true;
  QString writeFault;
  fault = synthesize(text, settings, [&](const short* samples, int count) {
    if (cancel)
      return false;
    if (first && firstSample)
      firstSample();
    first = false;
    if (const int error = audio_object_write(out, samples, size_t(count) * sizeof(short));
        error != 0) {
      writeFault = QStringLiteral("Tonausgabe: ") +
                   QString::fromLocal8Bit(audio_object_strerror(out, error));
      return false;
    }
    return true;
  });
  if (fault.isEmpty())
    fault = writeFault;
  if (!cancel)
    audio_object_drain(out);
  else
    audio_object_flush(out);
  audio_object_close(out);
  audio_object_destroy(out);
  return fault;
}

} // namespace meldlux
