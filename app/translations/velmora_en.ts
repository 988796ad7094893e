<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="id">
<context>
    <name>AppHeader</name>
    <message>
        <source>Photo Workflow Utility</source>
        <extracomment>The subtitle under the program&apos;s name.</extracomment>
        <translation>Photo Workflow Utility</translation>
    </message>
</context>
<context>
    <name>CompactProgressPanel</name>
    <message>
        <source>FILE</source>
        <extracomment>Caption over the photos handled out of those found, e.g. 40/200.</extracomment>
        <translation>FILES</translation>
    </message>
    <message>
        <source>SPEED</source>
        <translation>SPEED</translation>
    </message>
    <message>
        <source>ETA</source>
        <extracomment>Caption over the remaining time of the run.</extracomment>
        <translation>ETA</translation>
    </message>
    <message numerus="yes">
        <source>%n gagal</source>
        <extracomment>The photos the run failed on.</extracomment>
        <translation>
            <numerusform>%n failed</numerusform>
            <numerusform>%n failed</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CompressModel</name>
    <message>
        <source>Pilih Folder Foto</source>
        <translation>Choose Photo Folder</translation>
    </message>
    <message>
        <source>Pilih folder yang berisi foto.</source>
        <translation>Choose a folder of photos.</translation>
    </message>
    <message>
        <source>Klik SCAN FOLDER untuk membaca foto yang dapat dikompres.</source>
        <translation>Click SCAN FOLDER to find the photos that can be compressed.</translation>
    </message>
    <message>
        <source>Scanning file foto…</source>
        <translation>Scanning photo files…</translation>
    </message>
    <message>
        <source>Tidak ada file foto yang didukung.</source>
        <translation>No supported photo files.</translation>
    </message>
    <message>
        <source>Folder foto tidak dapat dibaca.</source>
        <translation>The photo folder cannot be read.</translation>
    </message>
    <message>
        <source>Scan kompresi gagal.</source>
        <translation>Compress scan failed.</translation>
    </message>
    <message>
        <source>Kompresi dijeda sementara…</source>
        <translation>Compression paused…</translation>
    </message>
    <message>
        <source>Kompresi berhenti dengan error (code %1).</source>
        <translation>Compression stopped with an error (code %1).</translation>
    </message>
    <message>
        <source>Kompresi selesai.</source>
        <translation>Compression done.</translation>
    </message>
    <message>
        <source>Scan selesai. Output: %1</source>
        <translation>Scan done. Output: %1</translation>
    </message>
    <message>
        <source>Mengompres… %1%</source>
        <translation>Compressing… %1%</translation>
    </message>
    <message>
        <source>Kompresi dilanjutkan…</source>
        <translation>Compression resumed…</translation>
    </message>
    <message numerus="yes">
        <source>%n foto dibiarkan apa adanya (tidak lebih kecil setelah dikompres).</source>
        <extracomment>In the end alert: re-encoded, these photos came out no smaller, so they are kept as they were.</extracomment>
        <translation>
            <numerusform>%n photo kept as it was (no smaller when compressed).</numerusform>
            <numerusform>%n photos kept as they were (no smaller when compressed).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n foto disalin tanpa kompresi (bukan gambar yang terbaca).</source>
        <extracomment>In the end alert: files the encoder could not read, copied unchanged.</extracomment>
        <translation>
            <numerusform>%n photo copied without compression (not a readable image).</numerusform>
            <numerusform>%n photos copied without compression (not readable images).</numerusform>
        </translation>
    </message>
    <message>
        <source>Ukuran: %1 → %2 (hemat %3%)</source>
        <extracomment>In the end alert: the photos&apos; size before and after, and the share saved.</extracomment>
        <translation>Size: %1 → %2 (%3% saved)</translation>
    </message>
</context>
<context>
    <name>CompressView</name>
    <message>
        <source>PENGATURAN COMPRESS</source>
        <translation>COMPRESS SETTINGS</translation>
    </message>
    <message>
        <source>FOLDER FOTO</source>
        <translation>PHOTO FOLDER</translation>
    </message>
    <message>
        <source>PROGRESS COMPRESS</source>
        <translation>COMPRESS PROGRESS</translation>
    </message>
    <message>
        <source>MULAI COMPRESS</source>
        <translation>START COMPRESS</translation>
    </message>
    <message>
        <source>KUALITAS</source>
        <translation>QUALITY</translation>
    </message>
    <message>
        <source>WORKERS</source>
        <translation>WORKERS</translation>
    </message>
    <message>
        <source>FOTO</source>
        <extracomment>The photos the scan found.</extracomment>
        <translation>PHOTOS</translation>
    </message>
    <message>
        <source>IGNORE</source>
        <extracomment>The files the scan left out.</extracomment>
        <translation>IGNORED</translation>
    </message>
    <message>
        <source>AWAL</source>
        <extracomment>The size of the photos found, before compression.</extracomment>
        <translation>BEFORE</translation>
    </message>
    <message>
        <source>HASIL</source>
        <extracomment>The size of the compressed photos written so far.</extracomment>
        <translation>AFTER</translation>
    </message>
</context>
<context>
    <name>FailureList</name>
    <message>
        <source>Foto yang gagal</source>
        <translation>Failed photos</translation>
    </message>
    <message numerus="yes">
        <source>… dan %n foto lainnya</source>
        <translation>
            <numerusform>… and %n more photo</numerusform>
            <numerusform>… and %n more photos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FailureReason</name>
    <message>
        <source>nama tidak berakhir dengan angka</source>
        <translation>no number at the end of the name</translation>
    </message>
    <message>
        <source>path berisi byte NUL</source>
        <translation>the path holds a NUL byte</translation>
    </message>
    <message>
        <source>bukan file biasa</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>foto sudah tidak ada di tempatnya</source>
        <translation>the photo is no longer there</translation>
    </message>
    <message>
        <source>foto berubah saat disalin</source>
        <translation>the photo changed while it was copied</translation>
    </message>
    <message>
        <source>salinan tidak sama dengan fotonya</source>
        <translation>the copy does not match the photo</translation>
    </message>
    <message>
        <source>disk penuh</source>
        <translation>disk full</translation>
    </message>
    <message>
        <source>kesalahan baca/tulis: media mungkin rusak</source>
        <translation>input/output error: the medium may be failing</translation>
    </message>
    <message>
        <source>kartu atau drive sudah tidak terpasang</source>
        <translation>the card or drive is no longer there</translation>
    </message>
    <message>
        <source>media hanya bisa dibaca</source>
        <translation>the file system is read-only</translation>
    </message>
    <message>
        <source>akses ditolak</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>nama ini tidak diterima sistem file</source>
        <translation>the file system does not accept this name</translation>
    </message>
    <message>
        <source>nama terlalu panjang untuk sistem file</source>
        <translation>the name is too long for the file system</translation>
    </message>
    <message>
        <source>folder tujuan adalah tautan</source>
        <translation>the destination folder is a link</translation>
    </message>
    <message>
        <source>folder tujuan bukan folder</source>
        <translation>the destination folder is not a folder</translation>
    </message>
    <message>
        <source>tidak ada alat kompresi di komputer ini</source>
        <translation>no image tool on this computer</translation>
    </message>
    <message>
        <source>kompresi gagal</source>
        <translation>the compression failed</translation>
    </message>
    <message>
        <source>bukan gambar yang terbaca; disalin tanpa kompresi</source>
        <translation>not a readable image; copied without compression</translation>
    </message>
    <message>
        <source>memori tidak cukup</source>
        <translation>out of memory</translation>
    </message>
</context>
<context>
    <name>FolderChooserDialog</name>
    <message>
        <source>Bukan folder: %1</source>
        <extracomment>Under the folder chooser&apos;s location field; %1 is what the user typed.</extracomment>
        <translation>Not a folder: %1</translation>
    </message>
    <message>
        <source>LOKASI</source>
        <extracomment>Caption of the folder chooser&apos;s field for a typed folder path.</extracomment>
        <translation>LOCATION</translation>
    </message>
    <message>
        <source>NAIK</source>
        <extracomment>Goes from the folder shown to the folder that holds it.</extracomment>
        <translation>UP</translation>
    </message>
    <message>
        <source>Tidak ada subfolder.</source>
        <extracomment>In the folder chooser&apos;s list when the folder shown holds no folder.</extracomment>
        <translation>No folders in here.</translation>
    </message>
    <message>
        <source>BATAL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>BUKA</source>
        <extracomment>Chooses the folder shown, or the subfolder picked in the list.</extracomment>
        <translation>OPEN</translation>
    </message>
</context>
<context>
    <name>FolderRow</name>
    <message>
        <source>BROWSE</source>
        <translation>BROWSE</translation>
    </message>
</context>
<context>
    <name>Formatting</name>
    <message>
        <source>%1 file/s</source>
        <translation>%1 files/s</translation>
    </message>
</context>
<context>
    <name>JobModel</name>
    <message>
        <source>Pilih folder sumber terlebih dahulu.</source>
        <translation>Choose a source folder first.</translation>
    </message>
    <message numerus="yes">
        <source>%n folder tidak dapat dibaca.</source>
        <extracomment>Follows the status line after a scan.</extracomment>
        <translation>
            <numerusform>%n folder could not be read.</numerusform>
            <numerusform>%n folders could not be read.</numerusform>
        </translation>
    </message>
    <message>
        <source>Tidak dapat menjeda proses.</source>
        <translation>Cannot pause the job.</translation>
    </message>
    <message>
        <source>Tidak dapat melanjutkan proses.</source>
        <translation>Cannot resume the job.</translation>
    </message>
    <message>
        <source>dijeda</source>
        <extracomment>The remaining time while a run is paused.</extracomment>
        <translation>paused</translation>
    </message>
    <message numerus="yes">
        <source>%n foto bernama tidak terbaca dan tidak akan diproses.</source>
        <extracomment>Follows the status line after a scan: these photos stay where they are.</extracomment>
        <translation>
            <numerusform>%n photo has a name that cannot be read and will not be handled.</numerusform>
            <numerusform>%n photos have names that cannot be read and will not be handled.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Disk penuh: %n foto gagal karena ruang habis dan tetap di tempatnya.</source>
        <extracomment>In the end alert: the destination&apos;s disk filled during the run.</extracomment>
        <translation>
            <numerusform>Disk full: %n photo failed for want of space and stayed where it was.</numerusform>
            <numerusform>Disk full: %n photos failed for want of space and stayed where they were.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n foto bernama tidak terbaca dan tidak diproses.</source>
        <extracomment>In the end alert: photos the scan left out; they stay where they are.</extracomment>
        <translation>
            <numerusform>%n photo has a name that cannot be read and was not handled.</numerusform>
            <numerusform>%n photos have names that cannot be read and were not handled.</numerusform>
        </translation>
    </message>
    <message>
        <source>Disk folder kerja penuh: hitungan di atas mungkin kurang. Setiap foto ada di tempat proses meninggalkannya, utuh.</source>
        <extracomment>In the end alert: the temporary folder&apos;s disk filled, so the counts may be short.</extracomment>
        <translation>The job folder&apos;s disk is full: the counts above may be short. Every photo is where the run left it, whole.</translation>
    </message>
    <message>
        <source>Folder foto ada di media yang hanya bisa dibaca (read-only). Tidak ada yang diubah.</source>
        <extracomment>The worker found the photo folder&apos;s medium write-protected before it began.</extracomment>
        <translation>The photo folder is on a read-only medium. Nothing was changed.</translation>
    </message>
    <message>
        <source>Scan dihentikan. Klik SCAN FOLDER untuk memulai lagi.</source>
        <extracomment>Status after STOP ended a scan.</extracomment>
        <translation>Scan stopped. Click SCAN FOLDER to start again.</translation>
    </message>
    <message>
        <source>Proses Dihentikan
Berhasil: %1
Gagal: %2</source>
        <extracomment>The end alert of a run ended by STOP.</extracomment>
        <translation>Job stopped
Succeeded: %1
Failed: %2</translation>
    </message>
    <message>
        <source>Menghentikan scan…</source>
        <extracomment>Status while a stopped scan ends.</extracomment>
        <translation>Stopping the scan…</translation>
    </message>
    <message>
        <source>Tidak dapat menghentikan proses.</source>
        <translation>Cannot stop the job.</translation>
    </message>
    <message>
        <source>Menghentikan proses…</source>
        <extracomment>Status while a stopped run finishes the photos it is on.</extracomment>
        <translation>Stopping the job…</translation>
    </message>
    <message>
        <source>Proses dihentikan.</source>
        <extracomment>Status after STOP ended a run.</extracomment>
        <translation>Job stopped.</translation>
    </message>
    <message>
        <source>Hanya folder atau file di komputer ini yang dapat dipilih.</source>
        <extracomment>Shown where a drop is refused: a web link, a network location, or no file at all.</extracomment>
        <translation>Only a folder or a file on this computer can be chosen.</translation>
    </message>
    <message>
        <source>Folder atau file ini sudah tidak ada.</source>
        <extracomment>Shown where a drop is refused: what was dragged has been removed or renamed meanwhile.</extracomment>
        <translation>This folder or file no longer exists.</translation>
    </message>
</context>
<context>
    <name>JobScreen</name>
    <message>
        <source>Tidak dapat diubah selama scan atau proses berjalan.</source>
        <translation>Cannot be changed while a scan or a job is running.</translation>
    </message>
    <message>
        <source>Belum dipilih</source>
        <translation>Not chosen yet</translation>
    </message>
    <message>
        <source>SCAN FOLDER</source>
        <translation>SCAN FOLDER</translation>
    </message>
    <message>
        <source>Hentikan proses ini? Foto yang sudah selesai tetap selesai, sisanya tetap di tempatnya.</source>
        <translation>Stop this job? Photos already done stay done, the rest stay where they are.</translation>
    </message>
    <message>
        <source>BATAL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>HENTIKAN</source>
        <extracomment>Ends the job.</extracomment>
        <translation>STOP</translation>
    </message>
    <message>
        <source>Buka</source>
        <extracomment>The accept button of the desktop&apos;s folder chooser.</extracomment>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Proses masih berjalan dan akan terus berjalan tanpa jendela ini. Tetap keluar?</source>
        <translation>A job is still running and will go on without this window. Quit anyway?</translation>
    </message>
    <message>
        <source>BATAL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>KELUAR</source>
        <translation>QUIT</translation>
    </message>
</context>
<context>
    <name>MainAppView</name>
    <message>
        <source>Tab</source>
        <extracomment>What a screen reader calls the row of the SORTER and COMPRESS tabs.</extracomment>
        <translation>Tabs</translation>
    </message>
</context>
<context>
    <name>RunButtons</name>
    <message>
        <source>RESUME</source>
        <translation>RESUME</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <translation>PAUSE</translation>
    </message>
    <message>
        <source>STOP</source>
        <extracomment>Ends the busy scan or run, after a question.</extracomment>
        <translation>STOP</translation>
    </message>
</context>
<context>
    <name>RunFigures</name>
    <message>
        <source>Proses Selesai
Berhasil: %1
Gagal: %2</source>
        <translation>Job finished
Succeeded: %1
Failed: %2</translation>
    </message>
</context>
<context>
    <name>SorterModel</name>
    <message>
        <source>Pilih Folder Sumber</source>
        <translation>Choose Source Folder</translation>
    </message>
    <message>
        <source>Pilih folder sumber.</source>
        <translation>Choose a source folder.</translation>
    </message>
    <message>
        <source>Klik SCAN FOLDER untuk membaca seluruh subfolder.</source>
        <translation>Click SCAN FOLDER to read every subfolder.</translation>
    </message>
    <message>
        <source>Scanning seluruh folder dan subfolder…</source>
        <translation>Scanning every folder and subfolder…</translation>
    </message>
    <message>
        <source>Tidak ada file bernomor.</source>
        <translation>No numbered files.</translation>
    </message>
    <message>
        <source>Folder sumber tidak dapat dibaca.</source>
        <translation>The source folder cannot be read.</translation>
    </message>
    <message>
        <source>Scan gagal.</source>
        <translation>Scan failed.</translation>
    </message>
    <message>
        <source>Sortir dijeda sementara…</source>
        <translation>Sort paused…</translation>
    </message>
    <message>
        <source>Proses berhenti dengan error (code %1).</source>
        <translation>The job stopped with an error (code %1).</translation>
    </message>
    <message>
        <source>Selesai.</source>
        <translation>Done.</translation>
    </message>
    <message>
        <source>Scan selesai. Siap sortir.</source>
        <translation>Scan done. Ready to sort.</translation>
    </message>
    <message>
        <source>FAST MOVE… %1%</source>
        <translation>FAST MOVE… %1%</translation>
    </message>
    <message>
        <source>COPY… %1%</source>
        <translation>COPY… %1%</translation>
    </message>
    <message>
        <source>FAST MOVE dilanjutkan…</source>
        <translation>FAST MOVE resumed…</translation>
    </message>
    <message>
        <source>COPY dilanjutkan…</source>
        <translation>COPY resumed…</translation>
    </message>
</context>
<context>
    <name>SorterView</name>
    <message>
        <source>PENGATURAN SORTER</source>
        <translation>SORTER SETTINGS</translation>
    </message>
    <message>
        <source>FOLDER SUMBER</source>
        <translation>SOURCE FOLDER</translation>
    </message>
    <message>
        <source>PROGRESS SORTER</source>
        <translation>SORTER PROGRESS</translation>
    </message>
    <message>
        <source>MULAI SORTIR</source>
        <translation>START SORT</translation>
    </message>
    <message>
        <source>MODE SORTIR</source>
        <translation>SORT MODE</translation>
    </message>
    <message>
        <source>WORKERS</source>
        <translation>WORKERS</translation>
    </message>
    <message>
        <source>FOLDER GANJIL</source>
        <extracomment>GANJIL names the folders of the odd-numbered photos on disk: keep it.</extracomment>
        <translation>GANJIL FOLDERS (ODD)</translation>
    </message>
    <message>
        <source>FOLDER GENAP</source>
        <extracomment>GENAP names the folders of the even-numbered photos on disk: keep it.</extracomment>
        <translation>GENAP FOLDERS (EVEN)</translation>
    </message>
    <message>
        <source>TOTAL</source>
        <extracomment>The numbered photos the scan found.</extracomment>
        <translation>TOTAL</translation>
    </message>
    <message>
        <source>IGNORE</source>
        <extracomment>The files the scan left out.</extracomment>
        <translation>IGNORED</translation>
    </message>
</context>
<context>
    <name>VelmoraAlert</name>
    <message>
        <source>SEMBUNYIKAN</source>
        <extracomment>Shows or hides the list of the photos the run failed on.</extracomment>
        <translation>HIDE</translation>
    </message>
    <message>
        <source>DETAIL</source>
        <translation>DETAILS</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>SALIN</source>
        <extracomment>Copies the list of the photos the run failed on.</extracomment>
        <translation>COPY LIST</translation>
    </message>
    <message>
        <source>BUKA FOLDER</source>
        <extracomment>Shows the folder the run wrote into in the file manager.</extracomment>
        <translation>OPEN FOLDER</translation>
    </message>
</context>
</TS>
