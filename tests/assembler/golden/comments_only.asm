* Only comments: no S19 file, the listing header and trailer
; nothing else
