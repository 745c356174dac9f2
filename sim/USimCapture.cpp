#include "USimCapture.h"

#include <cstdio>

#include "USimIds.h"
#include "USimPicture.h"
#include "USimRecords.h"

std::string SimDateText(const TDateTimeParts& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.Year, t.Month, t.Day);
  return buf;
}

std::string SimTimeText(const TDateTimeParts& t) {
  char buf[20];
  std::snprintf(buf, sizeof buf, "%02d-%02d-%02d-%03d", t.Hour, t.Minute, t.Second, t.Millisecond);
  return buf;
}

TSimRead NextRead(TSimCamera& camera, const TSimNow& now) {
  static const char* const Classes[] = {"CAR", "CAR", "CAR", "VAN", "TRUCK", "MOTORBIKE"};
  TSimRead r;
  r.Plate = camera.NextPlate();
  r.NRead = camera.NextReadNumber();
  r.OcrScore = 70 + static_cast<int32_t>(camera.NextRandom() % 30);
  const uint32_t k = camera.NextRandom() % 6;
  r.ClassString = Classes[k];
  r.ClassCode = k < 3 ? 1 : static_cast<int32_t>(k) - 1;
  r.Time = DecodeDateTime(camera.Clock(now.Wall));
  return r;
}

TSimShot TakePicture(const TSimCamera& camera, int channel, const TSimRead& read) {
  const bool colour = channel == 1;
  TSimScene scene;
  scene.Plate = read.Plate;
  scene.Caption = camera.Config.HostName + "  " + SimDateText(read.Time) + " " + SimTimeText(read.Time) + "  " +
                  (colour ? "COL" : "BW") + "  #" + std::to_string(read.NRead);
  scene.Seed = static_cast<uint32_t>(read.NRead) * 7919u + static_cast<uint32_t>(camera.Config.SerialNumber);
  const TSimRaster raster = DrawScene(colour, scene);

  TSimShot shot;
  TSimImageInfo& i = shot.Info;
  i.FirmwareVer = camera.Config.FirmwareText();
  i.NetbiosName = camera.Config.HostName;
  i.SerialNumber = camera.Config.SerialNumber;
  i.Date = SimDateText(read.Time);
  i.Time = SimTimeText(read.Time);
  i.Plate = read.Plate;
  i.Country = camera.Config.Country;
  i.NRead = read.NRead;
  i.OcrScore = read.OcrScore;
  i.JpegQuality = SimJpegQuality;
  i.Gain = colour ? 12 : 18;
  i.Shutter = colour ? 1000 : 500;
  i.Strobo = colour ? 0 : 1;
  i.ClassString = read.ClassString;
  auto cfg = camera.Files.find("ocrp_cfg.ini");
  i.OcrCfg = OcrCfgText(cfg == camera.Files.end() ? std::string() : cfg->second);
  i.PlateMinX = raster.PlateMinX;
  i.PlateMinY = raster.PlateMinY;
  i.PlateMaxX = raster.PlateMaxX;
  i.PlateMaxY = raster.PlateMaxY;
  i.Width = raster.Width;
  i.Height = raster.Height;
  i.Channel = channel;
  shot.Jpeg = InsertInfoBlock(EncodeJpeg(raster, SimJpegQuality), BuildImageInfoText(i));
  return shot;
}

TZudirirMsg BuildTransit(TSimCamera& camera, const TSimNow& now, std::string* summary) {
  const TSimRead read = NextRead(camera, now);
  const int32_t transitId = camera.NextTransitId();
  const TSimShot bw = TakePicture(camera, 0, read);
  const TSimShot col = TakePicture(camera, 1, read);
  const uint32_t r = camera.NextRandom();

  TZudirirMsg msg;
  TFormZudirir::InitMsg(msg, MSG_TRANSIT, 0);
  msg.SourceChannel = 0;
  AddIntRecord(msg, SimId::TrSerialNumber, camera.Config.SerialNumber);
  AddTextRecord(msg, SimId::TrNetbiosName, camera.Config.HostName);
  AddTextRecord(msg, SimId::TrDate, SimDateText(read.Time));
  AddTextRecord(msg, SimId::TrTime, SimTimeText(read.Time));
  AddIntRecord(msg, SimId::TrTransitId, transitId);
  AddTextRecord(msg, SimId::TrPlate, read.Plate);
  AddTextRecord(msg, SimId::TrPlateString, read.Plate);
  AddTextRecord(msg, SimId::TrPlateCountry, camera.Config.Country);
  AddIntRecord(msg, SimId::TrNRead, read.NRead);
  AddIntRecord(msg, SimId::TrOcrScore, read.OcrScore);
  AddIntRecord(msg, SimId::TrSpeed, 30 + static_cast<int32_t>(r % 91));
  AddIntRecord(msg, SimId::TrClass, read.ClassCode);
  AddTextRecord(msg, SimId::TrClassString, read.ClassString);
  AddTextRecord(msg, SimId::TrDirection, (r >> 8) % 4 == 0 ? "LEAVING" : "APPROACHING");
  AddIntRecord(msg, SimId::TrPlateMinX, bw.Info.PlateMinX);
  AddIntRecord(msg, SimId::TrPlateMinY, bw.Info.PlateMinY);
  AddIntRecord(msg, SimId::TrPlateMaxX, bw.Info.PlateMaxX);
  AddIntRecord(msg, SimId::TrPlateMaxY, bw.Info.PlateMaxY);
  AddBytesRecord(msg, SimId::TrImageBw, bw.Jpeg.data(), bw.Jpeg.size());
  AddBytesRecord(msg, SimId::TrImageCol, col.Jpeg.data(), col.Jpeg.size());
  if (summary)
    *summary = "transit " + std::to_string(transitId) + " plate " + read.Plate + " (" + read.ClassString + ", " +
               std::to_string(24 + msg.PayloadSize) + " bytes)";
  return msg;
}

std::string TransitTextLine(const TSimCamera& camera, const TSimNow& now, int32_t transitId) {
  const TDateTimeParts t = DecodeDateTime(camera.Clock(now.Wall));
  return camera.Config.HostName + " " + SimDateText(t) + " " + SimTimeText(t) + " transit " +
         std::to_string(transitId) + "\r\n";
}

std::vector<std::vector<uint8_t>> SplitChunks(const std::vector<uint8_t>& wire, int count) {
  std::vector<std::vector<uint8_t>> chunks;
  if (count < 1) count = 1;
  const size_t n = static_cast<size_t>(count);
  const size_t base = wire.size() / n, extra = wire.size() % n;
  size_t at = 0;
  for (size_t i = 0; i < n && at < wire.size(); ++i) {
    const size_t len = base + (i < extra ? 1 : 0);
    if (len == 0) continue;
    chunks.emplace_back(wire.begin() + static_cast<ptrdiff_t>(at), wire.begin() + static_cast<ptrdiff_t>(at + len));
    at += len;
  }
  if (chunks.empty()) chunks.push_back(wire);
  return chunks;
}
