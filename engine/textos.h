#pragma once
// Every text of the questionnaire engine that reaches the user or the document.
namespace kv::textos_motor {

// Answer texts written at a question's bookmark.
inline constexpr const char* kCCDebeResponder = "(** El CC debe responder **)";
inline constexpr const char* kErrorPregunta = "** E R R O R **";
inline constexpr const char* kPrefijoRespuesta = "Respuesta: ";

// Report identity and reported period of the SITI 2020 survey.
inline constexpr const char* kNombreReporteSITI2020 = "Encuesta SITI 2020";
inline constexpr const char* kFechaInicialSITI2020 = "01/01/2019";
inline constexpr const char* kFechaFinalSITI2020 = "12/31/2019";
inline constexpr int kTotalPreguntasSITI2020 = 212;

// Working files of the questionnaire document.
inline constexpr const char* kPlantillaDocWord = "PlantillaCuestionarioOperatividad2020.dotx";
inline constexpr const char* kArchivoDocWord = "CuestionarioOperatividad2020.docx";

}  // namespace kv::textos_motor
