CREATE TABLE tN (Id INTEGER, Nombre TEXT COLLATE JET, Ap TEXT COLLATE JET, Monto REAL,
                 Fecha DATEREAL, Activo INTEGER);
INSERT INTO tN VALUES (1, 'Ana', 'López', 1.1, 43830.0, -1),
                      (2, 'ANA', NULL, 1.2, 43830.5, 0),
                      (3, 'ana  ', 'Pérez', 0.2, 43466.0, -1),
                      (4, 'Público en General', NULL, NULL, 43465.75, 0),
                      (5, 'ñandú', '', 0, NULL, -1);
CREATE TABLE tK (Nombre TEXT COLLATE JET, Grupo TEXT COLLATE JET);
INSERT INTO tK VALUES ('ANA', 'g1'), ('ÑANDÚ', 'g2');
CREATE TABLE tVacia (x INTEGER);
