// The platform library: timer queue, MD5 and SMTP client, each in its own file.
